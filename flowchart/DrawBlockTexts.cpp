#include "flowchart/DrawBlockTexts.h"

#include "flowchart/FlowchartLayout.h"

#include <QStringView>

#include <algorithm>

namespace {

const double LineSpacing = 15;

// Words of up to this many characters are measured whole, as they are written.
const qsizetype ShortWord = 256;

// A prefix measured alone can differ from the same characters inside the
// whole word by a kerning pair or a ligature at the cut; this is far more,
// some three of the block font's widest characters. Every pixel more is
// text drawn past the edge of the window on every redraw.
const double CutSlack = 32;

// A word without a space in its first ShortWord characters. Pasted text can
// make it a megabyte long, so it is measured by growing prefixes, and its end
// is looked for only as far as the prefixes reach.
class LongWord {
public:
    LongWord(const QString &text, qsizetype start, const MeasureText &measure)
        : m_text(text)
        , m_start(start)
        , m_measure(measure)
    {
    }

    // Measures on until the width is known to pass limit, or the whole word
    // has been measured and its width is exact.
    void measureBeyond(double limit)
    {
        while (!m_whole && (m_cut == 0 || m_width <= limit + CutSlack))
            grow();
        if (!m_whole)
            trim(limit);
    }

    bool whole() const { return m_whole; }
    bool spaced() const { return m_spaced; }
    double width() const { return m_width; }
    // The whole word, or the prefix measured so far.
    QString text() const { return m_text.mid(m_start, m_cut); }
    qsizetype measured() const { return m_cut; }

private:
    void grow()
    {
        const qsizetype size = m_text.size();
        qsizetype cut = std::min(size - m_start, m_cut == 0 ? ShortWord : m_cut * 4);
        const qsizetype space
            = QStringView(m_text).sliced(m_start + m_cut, cut - m_cut).indexOf(u' ');
        if (space >= 0) {
            cut = m_cut + space + 1;
            m_whole = m_spaced = true;
        } else if (m_start + cut == size) {
            m_whole = true;
        } else {
            cut = wholeCharacters(cut);
        }
        m_cut = cut;
        m_width = m_measure(text());
    }

    // Growing in steps can overshoot far; what is written must not cost more
    // than what shows. Keeps a prefix sized by the average character, when
    // it still passes the limit.
    void trim(double limit)
    {
        if (m_width <= 0)
            return;
        const double estimate = m_cut * (limit + 2 * CutSlack) / m_width + 1;
        if (!(estimate < m_cut))
            return;
        const qsizetype cut = wholeCharacters(qsizetype(std::max(1.0, estimate)));
        if (cut >= m_cut)
            return;
        const double width = m_measure(m_text.mid(m_start, cut));
        if (width > limit + CutSlack) {
            m_cut = cut;
            m_width = width;
        }
    }

    // A prefix never ends in half a character.
    qsizetype wholeCharacters(qsizetype cut) const
    {
        const qsizetype end = m_start + cut;
        if (end < m_text.size() && m_text.at(end - 1).isHighSurrogate()
            && m_text.at(end).isLowSurrogate())
            ++cut;
        return cut;
    }

    const QString &m_text;
    const qsizetype m_start;
    const MeasureText &m_measure;
    qsizetype m_cut = 0;
    double m_width = 0;
    bool m_whole = false;
    bool m_spaced = false;
};

} // namespace

QString normaliseLineBreaks(QString text)
{
    const QStringView view(text);
    const qsizetype cr = view.indexOf(u'\r');
    const qsizetype lf = view.indexOf(u'\n');
    if (cr < 0 && lf < 0)
        return text;
    QChar *c = text.data() + (cr < 0 ? lf : lf < 0 ? cr : std::min(cr, lf));
    for (QChar *end = text.data() + text.size(); c != end; ++c) {
        if (*c == QLatin1Char('\r') || *c == QLatin1Char('\n'))
            *c = QLatin1Char(' ');
    }
    return text;
}

std::vector<WrappedWord> wrapBlockWords(const QString &text, const double *startX,
    const double *endX, int lineCount, double top, const MeasureText &measure, double visibleRight)
{
    std::vector<WrappedWord> placed;
    const auto endOf = [&](int line) { return line < lineCount ? endX[line] : 0.0; };
    int n = 1;
    double x = startX[1];
    double y = top;
    qsizetype pos = 0;

    // Each space ends a word and goes with it; what follows the last space
    // is the last word, which may be empty. A word that does not fit its
    // line goes to the next one, and nothing more is written once the block
    // runs out of lines. Returns false when the block is done.
    const auto place = [&](const QString &word, double width, bool spaced) {
        if (width + x > endOf(n)) {
            ++n;
            if (endOf(n) == 0)
                return false;
            y += LineSpacing;
            x = startX[n];
        }
        if (!word.isEmpty())
            placed.push_back({ { QPointF(x, y), word }, width });
        x += width;
        return spaced;
    };

    for (;;) {
        const qsizetype window = std::min(ShortWord, text.size() - pos);
        const qsizetype space = QStringView(text).sliced(pos, window).indexOf(u' ');
        if (space >= 0 || pos + window == text.size()) {
            const qsizetype length = space >= 0 ? space + 1 : window;
            const QString word = text.mid(pos, length);
            if (!place(word, measure(word), space >= 0))
                return placed;
            pos += length;
            continue;
        }

        LongWord word(text, pos, measure);
        word.measureBeyond(endOf(n) - x);
        if (!word.whole()) {
            // Too wide for this line: it goes to the next one, if any.
            ++n;
            if (endOf(n) == 0)
                return placed;
            y += LineSpacing;
            x = startX[n];
            word.measureBeyond(std::max(endOf(n), visibleRight) - x);
        }
        if (word.whole()) {
            if (!place(word.text(), word.width(), word.spaced()))
                return placed;
            pos += word.measured();
            continue;
        }
        // Wider than its line and than what can be seen: only the part that
        // shows is written, and whatever follows goes to the next line.
        placed.push_back({ { QPointF(x, y), word.text() }, word.width() });
        x += word.width();
        if (endOf(n + 1) == 0)
            return placed;
        const qsizetype end = QStringView(text).indexOf(u' ', pos + word.measured());
        if (end < 0)
            return placed;
        pos = end + 1;
    }
}

std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX, const double *endX,
    int lineCount, double top, const MeasureText &measure, double visibleRight)
{
    std::vector<PlacedWord> words;
    for (WrappedWord &word :
        wrapBlockWords(text, startX, endX, lineCount, top, measure, visibleRight))
        words.push_back(std::move(word.placed));
    return words;
}
