#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

// Icons and cursors of 16-colour images with AND masks, byte for byte: Qt
// writes neither.
namespace Bitmaps {

// The image as such a file holds it: every pixel one of the 16 Windows
// colours, or transparent where its alpha is below 128.
QImage iconPixels(const QImage &image);

struct IconImage {
    QImage image; // ARGB: alpha below 128 is transparent
    QPoint hotSpot; // cursors only
};

// An icon file (type 1) or a cursor file (type 2) of 4-bit images.
QByteArray icon(const QList<IconImage> &images, bool cursor);

} // namespace Bitmaps
