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
    , m_reduced(size_t(size.width()) * Channels)
    , m_sums(m_reduced.size())
    , m_result(size, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32)
    , m_topDown(topDown)
{
}

void RowAverage::add(const QRgb *row)
{
    if (m_result.isNull() || m_row >= m_size.height())
        return;
    // Across: each channel summed on its own, at most about full.width()
    // times 255, well inside 32 bits.
    const auto channels = [](QRgb p) {
        return std::array<quint32, Channels> { quint32(qRed(p)), quint32(qGreen(p)),
            quint32(qBlue(p)), quint32(qAlpha(p)) };
    };
    for (int k = 0; k < m_size.width(); ++k) {
        const Span &span = m_columns[k];
        quint32 red = 0, green = 0, blue = 0, alpha = 0;
        for (int x = span.first + 1; x < span.last; ++x) {
            red += qRed(row[x]);
            green += qGreen(row[x]);
            blue += qBlue(row[x]);
            alpha += qAlpha(row[x]);
        }
        const std::array<quint32, Channels> inside { red, green, blue, alpha };
        const auto first = channels(row[span.first]), last = channels(row[span.last]);
        for (int c = 0; c < Channels; ++c) {
            m_reduced[Channels * k + c] = inside[c] * quint32(m_size.width())
                + span.firstWeight * first[c] + span.lastWeight * last[c];
        }
    }

    // Down: the row adds to the result's row it falls in, and when it
    // straddles two, to the next one too.
    const Span &span = m_rows[m_row];
    const quint32 weight = m_added == span.first ? span.firstWeight
        : m_added == span.last                   ? span.lastWeight
                                                 : quint32(m_size.height());
    for (size_t i = 0; i < m_sums.size(); ++i)
        m_sums[i] += quint64(weight) * m_reduced[i];
    if (m_added == span.last) {
        finishRow();
        if (m_row < m_size.height() && m_rows[m_row].first == m_added) {
            for (size_t i = 0; i < m_sums.size(); ++i)
                m_sums[i] = quint64(m_rows[m_row].firstWeight) * m_reduced[i];
        }
    }
    ++m_added;
}

void RowAverage::finishRow()
{
    // The rows come in the file's order, the bottom row first unless the
    // file stores the top row first.
    auto *out = reinterpret_cast<QRgb *>(
        m_result.scanLine(m_topDown ? m_row : m_size.height() - 1 - m_row));
    const quint64 area = quint64(m_full.width()) * quint64(m_full.height());
    const auto mean = [&](size_t i) { return int((m_sums[i] + area / 2) / area); };
    for (int k = 0; k < m_size.width(); ++k) {
        const size_t at = size_t(Channels) * k;
        out[k] = qRgba(mean(at), mean(at + 1), mean(at + 2), mean(at + 3));
    }
    std::fill(m_sums.begin(), m_sums.end(), 0);
    ++m_row;
}
