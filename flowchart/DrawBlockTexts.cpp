#include "flowchart/DrawBlockTexts.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

namespace {

const double LineSpacing = 15;

} // namespace

QString normaliseLineBreaks(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return text;
}

std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX,
                                      const double *endX, int lineCount, double top,
                                      const MeasureText &measure)
{
    std::vector<PlacedWord> placed;
    const auto endOf = [&](int line) { return line < lineCount ? endX[line] : 0.0; };
    int n = 1;
    double x = startX[1];
    double y = top;
    qsizetype wordStart = 0;

    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char(' '))
            continue;
        const QString word = text.mid(wordStart, i + 1 - wordStart);
        wordStart = i + 1;
        const double width = measure(word);
        if (width + x > endOf(n)) {
            ++n;
            if (endOf(n) == 0)
                return placed; // the block has run out of lines
            y += LineSpacing;
            x = startX[n];
        }
        placed.push_back({QPointF(x, y), word});
        x += width;
    }

    // The last word has no space after it and may be empty.
    const QString word = text.mid(wordStart);
    if (measure(word) + x > endOf(n)) {
        y += LineSpacing;
        ++n;
        if (endOf(n) == 0)
            return placed;
        x = startX[n];
    }
    if (!word.isEmpty())
        placed.push_back({QPointF(x, y), word});
    return placed;
}

void drawBlockTexts(bool showBlockTexts, std::array<QString, 10> &blockTexts,
                    const FlowchartLayout &layout, Surface &surface)
{
    if (!showBlockTexts)
        return;
    const MeasureText measure = [&surface](const QString &word) {
        return surface.textWidth(word);
    };
    for (int b = 0; b < BlockCount; ++b) {
        surface.setCurrentPos(QPointF(layout.lineStartX[b][1], layout.textTop[b]));
        blockTexts[b] = normaliseLineBreaks(blockTexts[b]);
        const auto words = wrapBlockText(blockTexts[b], layout.lineStartX[b].data(),
                                         layout.lineEndX[b].data(), MaxTextLines,
                                         layout.textTop[b], measure);
        for (const PlacedWord &word : words) {
            surface.setCurrentPos(word.at);
            surface.write(word.text);
        }
    }
}
