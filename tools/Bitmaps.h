#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

// Writers for the Windows picture formats the program ships, byte for byte:
// a 24-bit bitmap, and icons and cursors of 16-colour images with AND masks.
namespace Bitmaps {

// The standard 16 colours of the Windows palette, in palette order.
const QList<QRgb> &windowsPalette();

// The nearest of the 16 colours.
int nearestIndex(QRgb colour);

QByteArray bmp24(const QImage &image);

struct IconImage
{
    QImage image;   // ARGB: alpha below 128 is transparent
    QPoint hotSpot; // cursors only
};

// An icon file (type 1) or a cursor file (type 2) of 4-bit images.
QByteArray icon(const QList<IconImage> &images, bool cursor);

} // namespace Bitmaps
