#include "windows/IconFile.h"

#include <QFile>
#include <QtEndian>

namespace {

quint16 word(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

quint32 dword(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

qint64 rowBytes(int width, int bits)
{
    return (qint64(width) * bits + 31) / 32 * 4;
}

// A device-independent bitmap of an icon: header, palette, colour rows and
// the AND mask, all bottom-up. Null when anything does not add up.
QImage decodeImage(QByteArrayView dib, int &bitCount)
{
    if (dib.size() < 40)
        return {};
    const quint32 headerSize = dword(dib, 0);
    const qint32 width = qint32(dword(dib, 4));
    const qint32 doubleHeight = qint32(dword(dib, 8));
    bitCount = word(dib, 14);
    const quint32 compression = dword(dib, 16);
    const quint32 coloursUsed = dword(dib, 32);
    if (headerSize < 40 || headerSize > quint32(dib.size()) || compression != 0)
        return {};
    if (width <= 0 || width > 256 || doubleHeight <= 0 || doubleHeight > 512 || doubleHeight % 2)
        return {};
    const int height = doubleHeight / 2;
    const int bits = bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return {};
    const qint64 paletteSize = bits <= 8 ? (coloursUsed ? qint64(coloursUsed) : 1 << bits) : 0;
    if (paletteSize > (1 << bits))
        return {};
    const qint64 colourStart = headerSize + 4 * paletteSize;
    const qint64 maskStart = colourStart + rowBytes(width, bits) * height;
    const qint64 end = maskStart + rowBytes(width, 1) * height;
    if (end > dib.size())
        return {};

    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const qint64 row = colourStart + rowBytes(width, bits) * (height - 1 - y);
        const qint64 mask = maskStart + rowBytes(width, 1) * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            QRgb colour;
            if (bits <= 8) {
                const qint64 bitPos = qint64(x) * bits;
                const quint8 byte = quint8(dib[row + bitPos / 8]);
                const int index = (byte >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
                if (index >= paletteSize)
                    return {};
                const qint64 entry = headerSize + 4 * index;
                colour = qRgb(quint8(dib[entry + 2]), quint8(dib[entry + 1]), quint8(dib[entry]));
            } else {
                const qint64 at = row + qint64(x) * (bits / 8);
                colour = qRgba(quint8(dib[at + 2]), quint8(dib[at + 1]), quint8(dib[at]),
                    bits == 32 ? quint8(dib[at + 3]) : 255);
            }
            const bool transparent = (quint8(dib[mask + x / 8]) >> (7 - x % 8)) & 1;
            image.setPixel(x, y, transparent ? qRgba(0, 0, 0, 0) : colour);
        }
    }
    return image;
}

} // namespace

IconFile IconFile::parse(QByteArrayView bytes)
{
    IconFile file;
    if (bytes.size() < 6 || word(bytes, 0) != 0
        || (word(bytes, 2) != Icon && word(bytes, 2) != Cursor)) {
        file.m_error = QStringLiteral("not an icon or cursor file");
        return file;
    }
    file.m_kind = Kind(word(bytes, 2));
    const int count = word(bytes, 4);
    if (count == 0 || 6 + 16 * qint64(count) > bytes.size()) {
        file.m_error = QStringLiteral("the directory does not fit in the file");
        return file;
    }
    for (int i = 0; i < count; ++i) {
        const qsizetype at = 6 + 16 * i;
        Entry entry;
        entry.width = quint8(bytes[at]);
        entry.height = quint8(bytes[at + 1]);
        entry.colourCount = quint8(bytes[at + 2]);
        entry.hotX = word(bytes, at + 4);
        entry.hotY = word(bytes, at + 6);
        entry.bytes = dword(bytes, at + 8);
        entry.offset = dword(bytes, at + 12);
        if (qint64(entry.offset) + entry.bytes > bytes.size()) {
            file.m_error = QStringLiteral("image %1 lies beyond the end of the file").arg(i);
            return file;
        }
        entry.image = decodeImage(bytes.sliced(entry.offset, entry.bytes), entry.bitCount);
        const int width = entry.width ? entry.width : 256;
        const int height = entry.height ? entry.height : 256;
        if (entry.image.isNull() || entry.image.width() != width
            || entry.image.height() != height) {
            file.m_error = QStringLiteral("image %1 cannot be decoded").arg(i);
            return file;
        }
        file.m_entries.append(entry);
    }
    return file;
}

IconFile IconFile::load(const QString &path)
{
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        IconFile file;
        file.m_error = source.errorString();
        return file;
    }
    const QByteArray bytes = source.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        IconFile file;
        file.m_error = QStringLiteral("the file is too large");
        return file;
    }
    return parse(bytes);
}
