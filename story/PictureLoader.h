#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// What loading a picture file gave.
struct LoadedPicture
{
    QImage image;  // null for the empty path
    QString error; // in Russian, naming the file; empty when loaded

    bool ok() const { return error.isEmpty(); }
};

// Loads the BMP and JPEG pictures of the frames. The format is told by the
// content, not the name, and no size that a file claims is trusted before
// it has been checked against the limits.
class PictureLoader
{
public:
    // A picture is printed about 4 cm wide: 472 pixels at 300 dpi. Larger
    // photos are decoded reduced, keeping at least that much across.
    static constexpr int KeepAcross = 472;
    static constexpr int MaxLongSide = 1500;
    // Beyond these a file is refused without being decoded.
    static constexpr int MaxSide = 30000;
    static constexpr qint64 MaxPixels = 200'000'000;
    static constexpr int AllocationLimitMB = 256;

    // The empty path gives the null image without failing.
    static LoadedPicture load(const QString &path);

    // The size to decode a picture of the given size at.
    static QSize decodeSize(QSize full);
};
