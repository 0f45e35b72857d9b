#include "pictures/BmpBands.h"

#include <QIODevice>
#include <QtEndian>

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr int FileHeaderBytes = 14;

quint32 u32(const uchar *at)
{
    return qFromLittleEndian<quint32>(at);
}

quint16 u16(const uchar *at)
{
    return qFromLittleEndian<quint16>(at);
}

// The first index of each of count equal parts of length, and length.
std::vector<int> partStarts(int length, int count)
{
    std::vector<int> starts(count + 1);
    for (int k = 0; k <= count; ++k)
        starts[k] = int(qint64(k) * length / count);
    return starts;
}

// Adds bytes into sums, one for one: sixteen at a time where the processor
// has SSE2, as every x86-64 one does.
void addBytes(const uchar *bytes, qsizetype n, quint32 *sums)
{
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
        const __m128i low = _mm_unpacklo_epi8(b, zero);
        const __m128i high = _mm_unpackhi_epi8(b, zero);
        auto *at = reinterpret_cast<__m128i *>(sums + i);
        _mm_storeu_si128(at, _mm_add_epi32(_mm_loadu_si128(at), _mm_unpacklo_epi16(low, zero)));
        _mm_storeu_si128(
            at + 1, _mm_add_epi32(_mm_loadu_si128(at + 1), _mm_unpackhi_epi16(low, zero)));
        _mm_storeu_si128(
            at + 2, _mm_add_epi32(_mm_loadu_si128(at + 2), _mm_unpacklo_epi16(high, zero)));
        _mm_storeu_si128(
            at + 3, _mm_add_epi32(_mm_loadu_si128(at + 3), _mm_unpackhi_epi16(high, zero)));
    }
#endif
    for (; i < n; ++i)
        sums[i] += bytes[i];
}

// Adds a row of blue, green, red pixels into the sums of its columns.
void addRow(const uchar *row, int width, int step, quint32 *sums)
{
    if (step == 3) {
        addBytes(row, qsizetype(width) * 3, sums);
        return;
    }
    for (int x = 0; x < width; ++x, row += step, sums += 3) {
        sums[0] += row[0];
        sums[1] += row[1];
        sums[2] += row[2];
    }
}

BmpBands::Result failed(const QString &reason)
{
    return { BmpBands::Outcome::Failed, QImage(), reason };
}

} // namespace

BmpBands::Result BmpBands::read(QIODevice &file, QSize full, QSize size)
{
    std::array<uchar, FileHeaderBytes + 40> header;
    if (!file.seek(0)
        || file.read(reinterpret_cast<char *>(header.data()), header.size())
            != qint64(header.size()))
        return {};
    const uchar *info = header.data() + FileHeaderBytes;
    const quint32 pixelsAt = u32(header.data() + 10);
    const quint32 infoBytes = u32(info);
    const qint32 width = qint32(u32(info + 4));
    const qint32 height = qint32(u32(info + 8));
    const int bits = u16(info + 14);
    const quint32 compression = u32(info + 16);
    quint32 colours = u32(info + 32);
    // Only what is read here for certain; the rest is Qt's.
    if (header[0] != 'B' || header[1] != 'M'
        || (infoBytes != 40 && infoBytes != 108 && infoBytes != 124) || u16(info + 12) != 1
        || compression != 0
        || (bits != 8 && bits != 24 && bits != 32)
        // A newer header may give 32 bits an alpha mask; Qt reads those.
        || (bits == 32 && infoBytes != 40) || width != full.width() || height == 0
        || height == INT_MIN || std::abs(height) != full.height() || size.width() > width
        || size.height() > std::abs(height) || size.isEmpty())
        return {};

    std::array<QRgb, 256> palette {};
    if (bits == 8) {
        if (colours == 0)
            colours = 256;
        if (colours > 256)
            return {};
        const qint64 paletteAt = FileHeaderBytes + infoBytes;
        if (paletteAt + 4 * qint64(colours) > pixelsAt)
            return {};
        std::array<uchar, 4 * 256> entries;
        if (!file.seek(paletteAt)
            || file.read(reinterpret_cast<char *>(entries.data()), 4 * colours) != 4 * colours)
            return failed(QStringLiteral("файл обрезан"));
        // Indexes past the palette are black, as Qt shows them.
        for (quint32 i = 0; i < colours; ++i)
            palette[i] = qRgb(entries[4 * i + 2], entries[4 * i + 1], entries[4 * i]);
    }

    const int rows = std::abs(height);
    const bool bottomUp = height > 0;
    const qint64 stride = ((qint64(width) * bits + 31) / 32) * 4;
    if (pixelsAt < FileHeaderBytes + infoBytes || pixelsAt + stride * rows > file.size())
        return failed(QStringLiteral("файл обрезан"));
    if (!file.seek(pixelsAt))
        return failed(file.errorString());

    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return failed(QStringLiteral("не хватает памяти"));
    const std::vector<int> columns = partStarts(width, size.width());
    const std::vector<int> bands = partStarts(rows, size.height());
    const int bytesPerPixel = bits / 8;
    std::vector<uchar> band(size_t(stride) * BandRows);
    // Each column's sums over the rows of the output row being made.
    std::vector<quint32> sums(size_t(width) * 3);
    std::vector<uchar> expanded(bits == 8 ? size_t(width) * 3 : 0);

    // Rows come in file order, bottom-up in most BMPs; each row adds into
    // its columns' sums, and once the rows of an output row are all in, each
    // output pixel is the mean of its columns' sums.
    int outRow = bottomUp ? size.height() - 1 : 0;
    int rowsInPart = 0;
    for (int done = 0; done < rows;) {
        const int count = std::min(BandRows, rows - done);
        const qint64 want = stride * count;
        if (file.read(reinterpret_cast<char *>(band.data()), want) != want)
            return failed(QStringLiteral("файл обрезан"));
        for (int i = 0; i < count; ++i) {
            const uchar *row = band.data() + stride * i;
            int step = bytesPerPixel;
            if (bits == 8) {
                for (int x = 0; x < width; ++x) {
                    const QRgb c = palette[row[x]];
                    expanded[3 * x] = uchar(qBlue(c));
                    expanded[3 * x + 1] = uchar(qGreen(c));
                    expanded[3 * x + 2] = uchar(qRed(c));
                }
                row = expanded.data();
                step = 3;
            }
            addRow(row, width, step, sums.data());
            ++rowsInPart;
            const int partRows = bands[outRow + 1] - bands[outRow];
            if (rowsInPart < partRows)
                continue;
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(outRow));
            for (int k = 0; k < size.width(); ++k) {
                quint32 b = 0, g = 0, r = 0;
                for (int x = columns[k]; x < columns[k + 1]; ++x) {
                    b += sums[3 * x];
                    g += sums[3 * x + 1];
                    r += sums[3 * x + 2];
                }
                const quint32 area = quint32(columns[k + 1] - columns[k]) * quint32(partRows);
                out[k] = qRgb(int((r + area / 2) / area), int((g + area / 2) / area),
                    int((b + area / 2) / area));
            }
            std::fill(sums.begin(), sums.end(), 0);
            rowsInPart = 0;
            outRow += bottomUp ? -1 : 1;
        }
        done += count;
    }
    return { Outcome::Read, image, QString() };
}
