#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Pictures written by ImageMagick, a writer that is not ours: every kind of
// BMP, and JPEGs in every EXIF orientation, which exiftool writes. The kinds
// they do not write are made from what they write by rewriting a few bytes.
struct MagickPicture {
    enum Change { None, Header, NoMasks, TopDown, ShortPalette, Offset, Rle4, Claim, Exif, Exif32 };
    QString name;
    QString magick; // ImageMagick's output format, then its options
    Change change = None;
    // Header: its new length; ShortPalette: the colours kept; Offset: the
    // pixels' offset; Claim: the width and height; Exif: the orientation,
    // 1-8, little-endian when odd; Exif32: the same, its entry rewritten as
    // a LONG, or an SLONG when little-endian.
    int value = 0;
    QSize size = QSize(640, 480); // as stored
};

QList<MagickPicture> magickPictures();

// Writes ImageMagick's logo into path as the picture says, and gives its
// own reading of what it wrote: upright, resized to reading, on white. Null
// on a failure, as when ImageMagick or exiftool is not installed.
QImage makePicture(const MagickPicture &picture, const QString &path, QSize reading);
// Whether the pictures come ready made, written on Linux for the Windows
// build under Wine, which runs no ImageMagick.
bool magickMade();
