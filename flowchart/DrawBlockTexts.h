#pragma once

#include <QPointF>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class Surface;
struct FlowchartLayout;

// One piece of text written by the block wrapping, at its top-left corner.
struct PlacedWord
{
    QPointF at;
    QString text;
    bool operator==(const PlacedWord &) const = default;
};

using MeasureText = std::function<double(const QString &)>;

// Every CR and every LF becomes one space; the length never changes.
QString normaliseLineBreaks(QString text);

// Wraps one block's (normalised) text onto its text lines. startX and endX
// are the block's line tables (entry 0 unused, a 0 end ends the block).
std::vector<PlacedWord> wrapBlockText(const QString &text, const double *startX,
                                      const double *endX, int lineCount, double top,
                                      const MeasureText &measure);

// Writes the ten block texts into their blocks, normalising the stored texts
// first. Does nothing at all when show is false.
void drawBlockTexts(bool showBlockTexts, std::array<QString, 10> &blockTexts,
                    const FlowchartLayout &layout, Surface &surface);
