#include "pictures/RowAverage.h"

#include <algorithm>
#include <array>

namespace {

constexpr int Channels = 4;

} // namespace

// Part k of size equal parts of full pixels is [k * full, (k + 1) * full)
// counted in 1/size of a pixel, so that every weight is a whole number.
std::vector<RowAverage::Span> RowAverage::spans(int full, int size)
{
    std::vector<Span> spans(size);
    for (int k = 0; k < size; ++k) {
        const qint64 from = qint64(k) * full, to = from + full;
        Span &span = spans[k];
        span.first = int(from / size);
        span.last = int((to - 1) / size);
        span.firstWeight = quint32(std::min<qint64>(to, qint64(span.first + 1) * size) - from);
        span.lastWeight = span.last > span.first ? quint32(to - qint64(span.last) * size) : 0;
    }
    return spans;
}

RowAverage::RowAverage(QSize full, QSize size, bool topDown, bool alpha)
    : m_columns(spans(full.width(), size.width()))
    , m_rows(spans(full.height(), size.height()))
    , m_full(full)
    , m_size(size)
    , m_columnSums(size_t(full.width()) * Channels)
    , m_result(size, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32)
    , m_topDown(topDown)
{
}

void RowAverage::add(const QRgb *row)
{
    if (m_result.isNull() || m_row >= m_size.height())
        return;
    // The row adds to the result's row it falls in, and when it straddles
    // two, to the next one too.
    const Span &span = m_rows[m_row];
    addWeighted(row,
        m_added == span.first      ? span.firstWeight
            : m_added == span.last ? span.lastWeight
                                   : quint32(m_size.height()));
    if (m_added == span.last) {
        finishRow();
        if (m_row < m_size.height() && m_rows[m_row].first == m_added)
            addWeighted(row, m_rows[m_row].firstWeight);
    }
    ++m_added;
}

// A column's weights sum to full.height(), so its sums stay below 255 times
// that, well inside 32 bits.
void RowAverage::addWeighted(const QRgb *row, quint32 weight)
{
    quint32 *sum = m_columnSums.data();
    for (int x = 0; x < m_full.width(); ++x, sum += Channels) {
        sum[0] += weight * quint32(qRed(row[x]));
        sum[1] += weight * quint32(qGreen(row[x]));
        sum[2] += weight * quint32(qBlue(row[x]));
        sum[3] += weight * quint32(qAlpha(row[x]));
    }
}

void RowAverage::finishRow()
{
    // The rows come in the file's order, the bottom row first unless the
    // file stores the top row first.
    auto *out = reinterpret_cast<QRgb *>(
        m_result.scanLine(m_topDown ? m_row : m_size.height() - 1 - m_row));
    const quint64 area = quint64(m_full.width()) * quint64(m_full.height());
    const quint32 *sums = m_columnSums.data();
    for (int k = 0; k < m_size.width(); ++k) {
        const Span &span = m_columns[k];
        std::array<int, Channels> mean;
        for (int c = 0; c < Channels; ++c) {
            quint64 inside = 0;
            for (int x = span.first + 1; x < span.last; ++x)
                inside += sums[Channels * x + c];
            const quint64 total = inside * quint64(m_size.width())
                + quint64(span.firstWeight) * sums[Channels * span.first + c]
                + quint64(span.lastWeight) * sums[Channels * span.last + c];
            mean[c] = int((total + area / 2) / area);
        }
        out[k] = qRgba(mean[0], mean[1], mean[2], mean[3]);
    }
    std::fill(m_columnSums.begin(), m_columnSums.end(), 0);
    ++m_row;
}
