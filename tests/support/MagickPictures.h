#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// Pictures written by ImageMagick, a writer that is not ours: every kind of
// BMP, and JPEGs in every EXIF orientation. The BMP kinds it does not write
// are made from what it writes by rewriting the header or the pixels.
struct MagickPicture {
    enum Change {
        AsWritten,
        Header,
        NoMasks,
        TopDown,
        ShortPalette,
        PixelsAt,
        Rle4,
        Claim,
        Orientation
    };
    QString name;
    QStringList arguments; // ImageMagick's, between the picture and its output
    QString format; // ImageMagick's: BMP, BMP2, BMP3 or JPG
    Change change = AsWritten;
    // Header: its new length; ShortPalette: the colours left; PixelsAt: the
    // offset; Claim: the width and height its header claims, as an RLE file
    // may; Orientation: EXIF's 1 to 8.
    int value = 0;
    QSize size = QSize(640, 480); // as stored
    // ImageMagick 6 reads a 1-bit alpha of 1 as half transparent: the
    // picture is written opaque and compared without ImageMagick's alpha.
    bool opaque = false;
};

QList<MagickPicture> magickPictures();

// Whether ImageMagick's convert and exiftool are there.
bool magickInstalled();
// Writes ImageMagick's built-in logo as the picture says into path, and
// what ImageMagick wrote, unchanged, into written; false on a failure.
bool makePicture(const MagickPicture &picture, const QString &written, const QString &path);
// ImageMagick's own reading of the picture's file: upright, resized to
// size, on white.
QImage magickReading(const MagickPicture &picture, const QString &path, QSize size);
