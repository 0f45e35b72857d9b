#include "Bitmaps.h"

#include <QtEndian>

namespace Bitmaps {

namespace {

void put16(QByteArray &out, int value)
{
    char bytes[2];
    qToLittleEndian<quint16>(quint16(value), bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, qint64 value)
{
    char bytes[4];
    qToLittleEndian<quint32>(quint32(value), bytes);
    out.append(bytes, 4);
}

void putInfoHeader(QByteArray &out, int width, int height, int bits, int imageBytes)
{
    put32(out, 40);
    put32(out, width);
    put32(out, height);
    put16(out, 1);
    put16(out, bits);
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
}

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

int colourDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// The 16 colours of the Windows palette, in palette order.
const QList<QRgb> &windowsPalette()
{
    static const QList<QRgb> palette { qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0),
        qRgb(128, 128, 0), qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128),
        qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),
        qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255),
        qRgb(255, 255, 255) };
    return palette;
}

int nearestIndex(QRgb colour)
{
    const QList<QRgb> &palette = windowsPalette();
    int best = 0;
    for (int i = 1; i < palette.size(); ++i) {
        if (colourDistance(colour, palette[i]) < colourDistance(colour, palette[best]))
            best = i;
    }
    return best;
}

QByteArray iconImageBytes(const QImage &source)
{
    const QImage image = iconPixels(source);
    const int w = image.width();
    const int h = image.height();
    const int xorRow = rowBytes(w, 4);
    const int andRow = rowBytes(w, 1);
    QByteArray out;
    // The height counts the colour image and the mask together.
    putInfoHeader(out, w, 2 * h, 4, (xorRow + andRow) * h);
    for (QRgb c : windowsPalette()) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(xorRow, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            const int index = qAlpha(c) ? int(windowsPalette().indexOf(c)) : 0;
            row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
        out.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(andRow, '\0');
        for (int x = 0; x < w; ++x) {
            if (!qAlpha(image.pixel(x, y)))
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

} // namespace

QImage iconPixels(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            image.setPixel(x, y, qAlpha(c) < 128 ? 0 : windowsPalette()[nearestIndex(c)]);
        }
    }
    return image;
}

QByteArray icon(const QList<IconImage> &images, bool cursor)
{
    QList<QByteArray> bodies;
    for (const IconImage &entry : images)
        bodies.append(iconImageBytes(entry.image));

    QByteArray out;
    put16(out, 0);
    put16(out, cursor ? 2 : 1);
    put16(out, int(images.size()));
    qint64 offset = 6 + 16 * images.size();
    for (int i = 0; i < images.size(); ++i) {
        const IconImage &entry = images[i];
        out.append(char(entry.image.width()));
        out.append(char(entry.image.height()));
        out.append(char(16));
        out.append(char(0));
        // A cursor keeps its hot spot where an icon keeps planes and depth.
        put16(out, cursor ? entry.hotSpot.x() : 1);
        put16(out, cursor ? entry.hotSpot.y() : 4);
        put32(out, bodies[i].size());
        put32(out, offset);
        offset += bodies[i].size();
    }
    for (const QByteArray &body : bodies)
        out.append(body);
    return out;
}

} // namespace Bitmaps
