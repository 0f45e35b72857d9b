#pragma once

#include "flowchart/FlowchartGraph.h"

#include <QLineF>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QtGlobal>

#include <array>

inline constexpr int MaxTextLines = 6; // line 0 unused; a 0 entry ends a block

// Designed sizes of the editor's controls, in editor pixels.
inline constexpr int FrameWidth = 169;
inline constexpr int FrameHeight = 130;
int designedLabelWidth(int block);
int designedLabelHeight(int block);

// Half-way values go to the even neighbour, as the layout requires.
double roundHalfEven(double value);

struct LabelPlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The flowchart's layout frame and text-line tables, recomputed from the
// client size on every drawing pass. Values keep their halves and quarters.
struct FlowchartLayout {
    qint16 centerX = 0;
    int stretch = 0;
    std::array<std::array<double, MaxTextLines>, BlockCount> lineStartX {};
    std::array<std::array<double, MaxTextLines>, BlockCount> lineEndX {};
    std::array<double, BlockCount> textTop {};
    std::array<LabelPlacement, BlockCount> labels {};
    std::array<double, FrameCount> frameLeft {};
    double frameTop = 0;
    double frameGap = 0;

    // Fills every member from the client area, in the order a pass needs.
    void compute(int scaleWidth, int scaleHeight, int frameWidth = FrameWidth,
        int frameHeight = FrameHeight);

    // The shapes of the flowchart for the computed centre and stretch.
    // A block's outline, its corners in the order they are drawn.
    QPolygonF blockOutline(int block) const;
    // The lowest the chart reaches: the bottom line of «Конец».
    double chartBottom() const { return 379.0 + 10 * stretch; }
    // The «Начало» terminator: two lines joined by half circles.
    QPainterPath startOutline() const;
    // Where the arrows into and out of a block run: its top corner or edge.
    double entryX(int block) const;
    // The arrow from a block, or the start terminator, into the block it
    // leads to: a short drop, or from a question's corner a line to the side
    // and a drop. Empty where the flowchart has no such arrow.
    QList<QLineF> arrow(int from, int to) const;
};
