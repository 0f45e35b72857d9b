#include "flowchart/DrawBlockTexts.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <algorithm>

namespace {

const double LineSpacing = 15;

// Words up to this long are measured whole; a longer one by prefixes twice
// as long each, until one is wider than what can matter. Doubling measures
// at most twice the characters that are kept, and keeps at most twice the
// characters that show.
const qsizetype FirstPrefix = 64;

struct MeasuredWord {
    QString text; // the whole word, or a prefix wider than the limit
    double width = 0;
};

MeasuredWord measureUpTo(const QString &text, qsizetype start, qsizetype end, double limit,
    const MeasureText &measure, qsizetype length = FirstPrefix)
{
    length = std::min(end - start, length);
    for (;;) {
        // Never half of a character made of two.
        if (start + length < end && text.at(start + length - 1).isHighSurrogate()
            && text.at(start + length).isLowSurrogate())
            ++length;
        MeasuredWord word { text.mid(start, length), 0 };
        word.width = measure(word.text);
        if (start + length == end || word.width > limit)
            return word;
        length = std::min(end - start, length * 2);
    }
}

} // namespace

QString normaliseLineBreaks(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX, const double *endX,
    int lineCount, double top, const MeasureText &measure, double visibleRight)
{
    std::vector<PlacedWord> placed;
    const auto endOf = [&](int line) { return line < lineCount ? endX[line] : 0.0; };
    int n = 1;
    double x = startX[1];
    double y = top;
    for (qsizetype start = 0;;) {
        const qsizetype space = text.indexOf(QLatin1Char(' '), start);
        const qsizetype end = space < 0 ? text.size() : space + 1;
        // Past the line's end it goes down a line, whatever its full width.
        MeasuredWord word = measureUpTo(text, start, end, endOf(n) - x, measure);
        if (word.width + x > endOf(n)) {
            ++n;
            if (endOf(n) == 0)
                break;
            y += LineSpacing;
            x = startX[n];
        }
        // Written as far as it shows; past that, the next word goes down a
        // line anyway.
        const double shown = std::max(visibleRight, endOf(n)) - x;
        if (word.text.size() < end - start && word.width <= shown)
            word = measureUpTo(text, start, end, shown, measure, 2 * word.text.size());
        if (!word.text.isEmpty())
            placed.push_back({ QPointF(x, y), word.text, word.width });
        x += word.width;
        if (space < 0)
            break;
        start = end;
    }
    return placed;
}

void drawBlockText(int block, QString &blockText, const FlowchartLayout &layout, Surface &surface,
    double visibleRight)
{
    const MeasureText measure = [&surface](const QString &word) { return surface.textWidth(word); };
    blockText = normaliseLineBreaks(std::move(blockText));
    surface.setCurrentPos(QPointF(layout.lineStartX[block][1], layout.textTop[block]));
    for (const PlacedWord &word :
        wrapBlockText(blockText, layout.lineStartX[block].data(), layout.lineEndX[block].data(),
            MaxTextLines, layout.textTop[block], measure, visibleRight)) {
        surface.setCurrentPos(word.at);
        surface.writeMeasured(word.text, word.width);
    }
}

void drawBlockTexts(bool showBlockTexts, std::array<QString, BlockCount> &blockTexts,
    const FlowchartLayout &layout, Surface &surface, double visibleRight)
{
    if (!showBlockTexts)
        return;
    for (int b = 0; b < BlockCount; ++b)
        drawBlockText(b, blockTexts[b], layout, surface, visibleRight);
}
