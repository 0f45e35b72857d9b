#pragma once

#include <QPointF>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class Surface;
struct FlowchartLayout;

// One piece of text written by the block wrapping, at its top-left corner.
struct PlacedWord {
    QPointF at;
    QString text;
    bool operator==(const PlacedWord &) const = default;
};

// A placed word and the width by which writing it moves the drawing position.
struct WrappedWord {
    PlacedWord placed;
    double width = 0;
};

using MeasureText = std::function<double(const QString &)>;

// Nothing written further right than this shows on any screen or page.
inline constexpr double FarBeyondAnyScreen = 100000;

// Every CR and every LF becomes one space; the length never changes. A text
// without line breaks comes back as it went in, uncopied.
QString normaliseLineBreaks(QString text);

// Wraps one block's (normalised) text onto its text lines. startX and endX
// are the block's line tables (entry 0 unused, a 0 end ends the block). A
// word too wide for its line runs on past the outline; of such a word only
// what reaches visibleRight is kept, and it is measured no further than that.
std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX, const double *endX,
    int lineCount, double top, const MeasureText &measure,
    double visibleRight = FarBeyondAnyScreen);
std::vector<WrappedWord> wrapBlockWords(const QString &text, const double *startX,
    const double *endX, int lineCount, double top, const MeasureText &measure,
    double visibleRight = FarBeyondAnyScreen);

// Writes the ten block texts into their blocks, normalising the stored texts
// first. Does nothing at all when show is false.
void drawBlockTexts(bool showBlockTexts, std::array<QString, 10> &blockTexts,
    const FlowchartLayout &layout, Surface &surface);
