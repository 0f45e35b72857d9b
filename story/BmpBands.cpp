#include "story/BmpBands.h"

#include <QIODevice>
#include <QtEndian>

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

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
    std::vector<quint32> sums(size_t(size.width()) * 3);
    std::vector<uchar> expanded(bits == 8 ? size_t(width) * 3 : 0);

    // Rows come in file order, bottom-up in most BMPs; each row adds into
    // the output row its part falls in, written once its part is complete.
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
            quint32 *sum = sums.data();
            for (int k = 0; k < size.width(); ++k, sum += 3) {
                quint32 b = 0, g = 0, r = 0;
                const uchar *p = row + qsizetype(columns[k]) * step;
                for (int x = columns[k]; x < columns[k + 1]; ++x, p += step) {
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
                sum[0] += b;
                sum[1] += g;
                sum[2] += r;
            }
            ++rowsInPart;
            const int partRows = bands[outRow + 1] - bands[outRow];
            if (rowsInPart < partRows)
                continue;
            auto *out = reinterpret_cast<QRgb *>(image.scanLine(outRow));
            sum = sums.data();
            for (int k = 0; k < size.width(); ++k, sum += 3) {
                const quint32 area = quint32(columns[k + 1] - columns[k]) * quint32(partRows);
                out[k] = qRgb(int((sum[2] + area / 2) / area), int((sum[1] + area / 2) / area),
                    int((sum[0] + area / 2) / area));
            }
            std::fill(sums.begin(), sums.end(), 0);
            rowsInPart = 0;
            outRow += bottomUp ? -1 : 1;
        }
        done += count;
    }
    return { Outcome::Read, image, QString() };
}
