#include "pictures/RowAverage.h"

#include <algorithm>
#include <array>

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

RowAverage::RowAverage(QSize full, QSize size, int pixelBytes, bool topDown, bool alpha)
    : m_columns(spans(full.width(), size.width()))
    , m_rows(spans(full.height(), size.height()))
    , m_full(full)
    , m_size(size)
    , m_pixelBytes(pixelBytes)
    , m_wholeRows(size_t(full.width()) * pixelBytes)
    , m_partRows(m_wholeRows.size())
    , m_result(size, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32)
    , m_topDown(topDown)
{
}

namespace {

// Adds the weighed values to the sums sixteen at a time, each sixteen
// weighed first into an array apart from the sums, so that the compiler adds
// them as vectors at -O2 and at -O3 alike. Sixteen bytes copied apart and
// weighed as they were added were vectors at -O2 only: at -O3 GCC unrolled
// the sixteen first and added them one by one (3x `cat` for a BMP).
template <typename Sum, typename Value, typename Weigh>
void addTo(std::vector<Sum> &sums, const Value *values, Weigh weigh)
{
    size_t i = 0;
    for (std::array<Sum, 16> some; i + some.size() <= sums.size(); i += some.size()) {
        for (size_t j = 0; j < some.size(); ++j)
            some[j] = weigh(values[i + j]);
        for (size_t j = 0; j < some.size(); ++j)
            sums[i + j] += some[j];
    }
    for (; i < sums.size(); ++i)
        sums[i] += weigh(values[i]);
}

} // namespace

void RowAverage::add(const uchar *row)
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
// that, well inside 32 bits. Whole rows among the first 256 of a result's
// row still fit 16 bits; later ones are weighed as the parts are.
void RowAverage::addWeighted(const uchar *row, quint32 weight)
{
    if (weight == quint32(m_size.height()) && m_added - m_rows[m_row].first < 256)
        addTo(m_wholeRows, row, [](uchar b) { return quint16(b); });
    else
        addTo(m_partRows, row, [weight](uchar b) { return weight * b; });
}

void RowAverage::finishRow()
{
    // The rows come in the file's order, the bottom row first unless the
    // file stores the top row first.
    auto *out = reinterpret_cast<QRgb *>(
        m_result.scanLine(m_topDown ? m_row : m_size.height() - 1 - m_row));
    const quint64 area = quint64(m_full.width()) * quint64(m_full.height());
    const int channels = m_result.hasAlphaChannel() ? 4 : 3;
    // A whole row weighs the result's height, in the parts' measure.
    addTo(m_partRows, m_wholeRows.data(),
        [height = quint32(m_size.height())](quint16 sum) { return height * sum; });
    // The weights across, once for the row.
    for (int k = 0; k < m_size.width(); ++k) {
        const Span &span = m_columns[k];
        std::array<int, 4> mean { 0, 0, 0, 255 };
        for (int c = 0; c < channels; ++c) {
            const auto sum = [&](int x) { return quint64(m_partRows[m_pixelBytes * x + c]); };
            quint64 inside = 0;
            for (int x = span.first + 1; x < span.last; ++x)
                inside += sum(x);
            const quint64 total = inside * quint64(m_size.width())
                + span.firstWeight * sum(span.first) + span.lastWeight * sum(span.last);
            mean[c] = int((total + area / 2) / area);
        }
        out[k] = qRgba(mean[2], mean[1], mean[0], mean[3]);
    }
    std::fill(m_wholeRows.begin(), m_wholeRows.end(), 0);
    std::fill(m_partRows.begin(), m_partRows.end(), 0);
    ++m_row;
}
