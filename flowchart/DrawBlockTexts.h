#pragma once

#include "story/StoryDocument.h"

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
    // How far writing it moves the drawing position: the width of the text,
    // in the font it is written in.
    double width = 0;

    // The same words at the same places.
    bool operator==(const PlacedWord &other) const { return at == other.at && text == other.text; }
};

using MeasureText = std::function<double(const QString &)>;

// Nothing written further right than this shows on any screen or page.
inline constexpr double FarBeyondAnyScreen = 100000;

// Every CR and every LF becomes one space; the length never changes.
QString normaliseLineBreaks(QString text);

// Wraps one block's (normalised) text onto its text lines, word by word: a
// space ends a word and goes with it, a word goes down a line when it would
// end past its line's end, and the block stops when its lines run out.
// startX and endX are the block's line tables (entry 0 unused, a 0 end ends
// the block). A word too wide for its line runs on past the outline; of
// such a word only what reaches visibleRight is kept, and it is measured
// no further than that, so an endless word costs what a short one does.
std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX, const double *endX,
    int lineCount, double top, const MeasureText &measure,
    double visibleRight = FarBeyondAnyScreen);

// Writes one block's text into its block, normalising the stored text first.
// visibleRight is the rightmost x that the drawing can show.
void drawBlockText(int block, QString &blockText, const FlowchartLayout &layout, Surface &surface,
    double visibleRight = FarBeyondAnyScreen);

// Writes the ten block texts into their blocks, as drawBlockText does. Does
// nothing at all when show is false.
void drawBlockTexts(bool showBlockTexts, std::array<QString, BlockCount> &blockTexts,
    const FlowchartLayout &layout, Surface &surface, double visibleRight = FarBeyondAnyScreen);
