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

// Loads the BMP and JPEG pictures of the frames. The format is told by the
// content, not the name, and no size that a file claims is trusted before
// it has been checked against the limits.
class PictureLoader {
public:
    // A picture is kept once, at the size of its largest use: the printed
    // page's 4 cm wide picture at 300 dpi, 472.4 pixels, and 4 x 130 / 169 cm
    // high (the proportions of the editor's frames), 363.4 pixels, each
    // rounded up as the page rounds them. The page prints it as it is; the
    // frames and the reading window scale it down. Larger pictures are
    // decoded reduced to it, each direction on its own, as every use
    // stretches the picture to its place anyway.
    static constexpr QSize KeptSize { 473, 364 };
    // Beyond these a file is refused without being decoded.
    static constexpr int MaxSide = 30000;
    static constexpr qint64 MaxPixels = 200'000'000;
    static constexpr int AllocationLimitMB = 256;

    // The empty path gives the null image without failing.
    static LoadedPicture load(const QString &path);

    // The size to decode a picture of the given size at: never larger
    // than the picture or than KeptSize.
    static QSize decodeSize(QSize full) { return full.boundedTo(KeptSize); }
};
