#include "pictures/BmpReader.h"

#include "pictures/PictureReasons.h"
#include "pictures/RowAverage.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <climits>
#include <vector>

namespace {

constexpr int FileHeaderBytes = 14;
// The largest header read: a version 5 header and its four bit masks.
constexpr int LargestHeaderBytes = 124;

enum Compression : quint32 {
    Uncompressed = 0,
    RunLength8 = 1,
    RunLength4 = 2,
    BitMasks = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitMasks = 6,
};

QString unsupported(const QString &kind)
{
    return PictureReasons::unsupported(QStringLiteral("BMP ") + kind);
}

// What the compression field says the program cannot show, or empty.
QString unsupportedCompression(quint32 compression, bool os2)
{
    if (os2 && compression == BitMasks)
        return unsupported(QStringLiteral("OS/2 со сжатием Хаффмана"));
    if (os2 && compression == Jpeg)
        return unsupported(QStringLiteral("OS/2 со сжатием RLE24"));
    if (compression == Jpeg)
        return unsupported(QStringLiteral("со сжатием JPEG"));
    if (compression == Png)
        return unsupported(QStringLiteral("со сжатием PNG"));
    if (compression >= 11 && compression <= 13)
        return unsupported(QStringLiteral("в цветах CMYK"));
    if (compression > AlphaBitMasks)
        return unsupported(QStringLiteral("со сжатием номер %1").arg(compression));
    return QString();
}

} // namespace

BmpReader::BmpReader(QIODevice &file)
    : m_file(file)
{
    // Fields past the bytes read, or past a shorter header, read as zero.
    const auto u16 = [](const QByteArray &bytes, qsizetype at) -> quint16 {
        return at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at) : 0;
    };
    const auto u32 = [](const QByteArray &bytes, qsizetype at) -> quint32 {
        return at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
    };
    const QByteArray raw
        = file.seek(0) ? file.read(FileHeaderBytes + LargestHeaderBytes) : QByteArray();
    const quint32 infoBytes = u32(raw, FileHeaderBytes);
    const bool core = infoBytes == 12;
    // OS/2's second header is 16 to 64 bytes long; Windows' are 40, 52 and
    // 56 bytes long, and 108 and 124 for versions 4 and 5.
    const bool os2 = infoBytes >= 16 && infoBytes <= 64 && infoBytes != 40 && infoBytes != 52
        && infoBytes != 56;
    const qint64 present
        = FileHeaderBytes + qint64(std::min<quint32>(infoBytes, LargestHeaderBytes));
    if (raw.size() < FileHeaderBytes + 4 || raw.size() < present) {
        m_problem = PictureReasons::cutShort();
        return;
    }
    if (!core && infoBytes < 16) {
        m_problem = PictureReasons::damaged();
        return;
    }
    const QByteArray head = raw.left(present);

    const quint32 pixelsAt = u32(head, 10);
    qint64 width = core ? u16(head, 18) : qint32(u32(head, 18));
    qint64 height = core ? u16(head, 20) : qint32(u32(head, 22));
    m_bits = core ? u16(head, 24) : u16(head, 28);
    const quint32 compression = core ? Uncompressed : u32(head, 30);
    const quint32 colours = core ? 0 : u32(head, 46);
    m_topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height == 0 || height > INT_MAX) {
        m_problem = PictureReasons::damaged();
        return;
    }
    m_size = QSize(int(width), int(height));
    m_problem = unsupportedCompression(compression, os2);
    if (!m_problem.isEmpty())
        return;
    if (m_bits != 1 && m_bits != 4 && m_bits != 8 && m_bits != 16 && m_bits != 24 && m_bits != 32) {
        m_problem = unsupported(QStringLiteral("с %1 битами на точку").arg(m_bits));
        return;
    }
    const bool masked = compression == BitMasks || compression == AlphaBitMasks;
    if ((compression == RunLength8 && m_bits != 8) || (compression == RunLength4 && m_bits != 4)
        || (masked && m_bits != 16 && m_bits != 32)) {
        m_problem = PictureReasons::damaged();
        return;
    }
    m_packing = compression == RunLength8 ? Packing::Rle8
        : compression == RunLength4       ? Packing::Rle4
                                          : Packing::Plain;

    // A 40-byte header has its masks after it; later headers hold them.
    std::array<quint32, 4> masks { 0x7C00, 0x3E0, 0x1F, 0 };
    if (m_bits == 32)
        masks = { 0xFF0000, 0xFF00, 0xFF, 0 };
    qint64 headerEnd = FileHeaderBytes + qint64(infoBytes);
    if (masked) {
        const int count = compression == AlphaBitMasks || infoBytes >= 56 ? 4 : 3;
        const QByteArray &holder = infoBytes == 40 ? raw : head;
        if (infoBytes == 40) {
            headerEnd += 4 * count;
            if (raw.size() < headerEnd) {
                m_problem = PictureReasons::cutShort();
                return;
            }
        }
        for (int c = 0; c < 4; ++c)
            masks[c] = c < count ? u32(holder, FileHeaderBytes + 40 + 4 * c) : 0;
    }
    for (int c = 0; c < 4; ++c) {
        Channel &channel = m_channels[c];
        channel.mask = masks[c];
        channel.shift = masks[c] ? std::countr_zero(masks[c]) : 0;
        channel.bits = int(std::bit_width(masks[c])) - channel.shift;
        const int most = (1 << std::min(channel.bits, 8)) - 1;
        for (int v = 0; v <= most; ++v)
            channel.widened[v] = uchar((v * 255 + most / 2) / std::max(most, 1));
    }

    // The colour table: as long as the header says, or as its depth allows,
    // but never past the pixels. Some writers leave the pixel offset 0 or
    // point it into the header; the pixels then follow the table.
    const int entryBytes = core ? 3 : 4;
    qint64 entries = colours;
    if (m_bits <= 8)
        entries = colours == 0 ? 1 << m_bits : std::min<qint64>(colours, 1 << m_bits);
    qint64 tableEnd = headerEnd + entries * entryBytes;
    if (pixelsAt > headerEnd && pixelsAt < tableEnd) {
        entries = (pixelsAt - headerEnd) / entryBytes;
        tableEnd = headerEnd + entries * entryBytes;
    }
    m_pixelsAt = pixelsAt > headerEnd ? pixelsAt : tableEnd;
    if (m_bits <= 8) {
        const QByteArray table
            = file.seek(headerEnd) ? file.read(entries * entryBytes) : QByteArray();
        if (table.size() != entries * entryBytes) {
            m_problem = PictureReasons::cutShort();
            return;
        }
        // Indexes past a short table are black.
        m_palette.fill(qRgb(0, 0, 0));
        for (int i = 0; i < entries; ++i) {
            const auto *entry = reinterpret_cast<const uchar *>(table.constData()) + i * entryBytes;
            m_palette[i] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
}

QImage BmpReader::read(QSize size)
{
    // 24-bit rows are averaged as the file holds them, the others decoded.
    const bool alpha = m_channels[3].mask != 0;
    RowAverage average(m_size, size, m_bits == 24 ? 3 : 4, m_topDown, alpha);
    if (average.result().isNull()) {
        m_problem = QStringLiteral("не хватает памяти");
        return QImage();
    }
    if (!(m_packing == Packing::Plain ? readPlain(average) : readRunLengths(average)))
        return QImage();
    return average.result();
}

bool BmpReader::readPlain(RowAverage &average)
{
    const int width = m_size.width();
    const qint64 stride = (qint64(width) * m_bits + 31) / 32 * 4;
    // The last row may come without its padding.
    const qint64 lastRow = (qint64(width) * m_bits + 7) / 8;
    if (m_pixelsAt + stride * (m_size.height() - 1) + lastRow > m_file.size()
        || !m_file.seek(m_pixelsAt)) {
        m_problem = PictureReasons::cutShort();
        return false;
    }
    std::vector<uchar> bytes(stride);
    std::vector<uchar> row(m_bits == 24 ? 0 : 4 * size_t(width));
    for (int y = 0; y < m_size.height(); ++y) {
        const qint64 wanted = y + 1 < m_size.height() ? stride : lastRow;
        if (m_file.read(reinterpret_cast<char *>(bytes.data()), wanted) != wanted) {
            m_problem = PictureReasons::cutShort();
            return false;
        }
        if (m_bits != 24)
            decodeRow(bytes.data(), row.data());
        average.add(m_bits == 24 ? bytes.data() : row.data());
    }
    return true;
}

// Into blue, green, red and alpha bytes: a QRgb stored little-endian.
void BmpReader::decodeRow(const uchar *bytes, uchar *row)
{
    const int width = m_size.width();
    for (int x = 0; x < width; ++x, row += 4) {
        // The first pixel in the highest bits of its byte.
        const int bit = x * m_bits;
        qToLittleEndian(m_bits <= 8
                ? m_palette[(bytes[bit >> 3] >> (8 - m_bits - (bit & 7))) & ((1 << m_bits) - 1)]
                : fromMasks(m_bits == 16 ? qFromLittleEndian<quint16>(bytes + 2 * x)
                                         : qFromLittleEndian<quint32>(bytes + 4 * x)),
            row);
    }
}

QRgb BmpReader::fromMasks(quint32 value)
{
    std::array<int, 4> c;
    for (int i = 0; i < 4; ++i) {
        const Channel &channel = m_channels[i];
        const quint32 v = (value & channel.mask) >> channel.shift;
        c[i] = channel.bits > 8 ? int(v >> (channel.bits - 8)) : channel.widened[v];
    }
    if (!m_channels[3].mask)
        return qRgb(c[0], c[1], c[2]);
    return qPremultiply(qRgba(c[0], c[1], c[2], c[3]));
}

// RLE8 and RLE4 come as pairs of bytes: a count and the colour index (two,
// for RLE4) to repeat, or a 0 and an escape: end of a row, end of the
// picture, a jump ahead, or that many indexes given one by one.
bool BmpReader::readRunLengths(RowAverage &average)
{
    const int width = m_size.width();
    const bool four = m_packing == Packing::Rle4;
    std::vector<uchar> indexes(width, 0);
    std::vector<uchar> row(4 * size_t(width));
    int x = 0;
    int rowsDone = 0;
    const auto endRow = [&] {
        for (int i = 0; i < width; ++i)
            qToLittleEndian(m_palette[indexes[i]], row.data() + 4 * i);
        average.add(row.data());
        std::fill(indexes.begin(), indexes.end(), 0);
        x = 0;
        ++rowsDone;
    };
    // Indexes past the row's end are dropped, as other readers do.
    const auto put = [&](uchar index) {
        if (x < width)
            indexes[x++] = index;
    };
    const auto next = [&](uchar &byte) { return m_file.getChar(reinterpret_cast<char *>(&byte)); };

    if (!m_file.seek(m_pixelsAt)) {
        m_problem = PictureReasons::cutShort();
        return false;
    }
    uchar count = 0, value = 0;
    while (rowsDone < m_size.height()) {
        if (!next(count) || !next(value)) {
            // A last row that is whole may go without its end mark.
            if (rowsDone + 1 == m_size.height() && x == width) {
                endRow();
                break;
            }
            m_problem = PictureReasons::cutShort();
            return false;
        }
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? (i % 2 ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            endRow();
        } else if (value == 1) {
            while (rowsDone < m_size.height())
                endRow();
        } else if (value == 2) {
            uchar right = 0, down = 0;
            if (!next(right) || !next(down)) {
                m_problem = PictureReasons::cutShort();
                return false;
            }
            const int column = x + right;
            for (int i = 0; i < down && rowsDone < m_size.height(); ++i)
                endRow();
            x = std::min(column, width);
        } else {
            std::array<uchar, 256> given;
            const int bytes = four ? (value + 1) / 2 : value;
            if (m_file.read(reinterpret_cast<char *>(given.data()), bytes) != bytes) {
                m_problem = PictureReasons::cutShort();
                return false;
            }
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? given[i / 2] & 15 : given[i / 2] >> 4) : given[i]);
            // Each run of given indexes fills a whole number of 16-bit words.
            if (bytes % 2)
                next(count);
        }
    }
    return true;
}
