#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// What loading a picture file gave.
struct LoadedPicture {
    QImage image; // null for the empty path
    QString error; // in Russian, naming the file; empty when loaded

    bool ok() const { return error.isEmpty(); }
};

// Loads the BMP and JPEG pictures of the frames: upright as a JPEG's EXIF
// orientation says, shrunk in full colour, and in bounded memory. The format
// is told by the content, not the name, and whether a picture fits is told
// from its header, before any of it is decoded.
class PictureLoader {
public:
    // A picture is kept once, at the size of its largest use: the printed
    // page's 4 cm wide picture at 300 dpi, 472.4 pixels, and 4 x 130 / 169 cm
    // high (the proportions of the editor's frames), 363.4 pixels, each
    // rounded up as the page rounds them. The page prints it as it is; the
    // frames and the reading window scale it down. Larger pictures are
    // decoded reduced to it, each direction on its own, as the frames
    // stretch the picture to their place anyway.
    static constexpr QSize KeptSize { 473, 364 };
    // How a larger picture is brought to the kept size: stretched to it, as
    // the frames show it, or in its own proportions within it, as the web
    // page shows it.
    enum class Proportions { Stretched, Own };
    // Beyond these a file is refused without being decoded: the sides, the
    // points (decoding time grows with them), and the memory that loading
    // one picture may take above what the program holds already.
    static constexpr int MaxSide = 30000;
    static constexpr qint64 MaxPixels = 200'000'000;
    static constexpr qint64 MemoryBudget = 64 * 1024 * 1024;

    // The empty path gives the null image without failing.
    static LoadedPicture load(
        const QString &path, Proportions proportions = Proportions::Stretched);

    // The size to decode a picture of the given size at: never larger
    // than the picture or than KeptSize.
    static QSize decodeSize(QSize full, Proportions proportions = Proportions::Stretched);

    // The picture in 32 bits a point: Qt shrinks an indexed picture without
    // averaging, and past half size a 1-bit one loses its colours.
    static QImage fullColour(const QImage &picture);
};
