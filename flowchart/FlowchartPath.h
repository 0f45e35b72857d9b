#pragma once

#include "flowchart/FlowchartLayout.h"

#include <QList>

#include <optional>

// A way through the flowchart, as a reading takes it: the blocks in the
// order met, a question as soon as it is asked. Empty for no reading.
struct FlowchartPath {
    QList<int> blocks;

    // The way a reading goes that takes these exits at the questions it
    // meets, in turn (true for «Истина»): from the first block on, up to a
    // question it has no exit for, or to an ending.
    static FlowchartPath taking(QList<bool> exits);
    // Every way from the first block to an ending, in the order the chart is
    // drawn: each half from its outer side in, the right half mirroring the
    // left.
    static QList<FlowchartPath> everyWay();

    bool isEmpty() const { return blocks.isEmpty(); }
    // The exit taken at a block of the path (true for «Истина»), by the next
    // block; none for a chapter or a question left unanswered or not passed.
    std::optional<bool> exitAt(int block) const;
    friend bool operator==(const FlowchartPath &, const FlowchartPath &) = default;
};

// Where a path lies on the flowchart, in the client area's pixels: what the
// editor traces over its drawing once the reader is done. Nothing for an
// empty path.
struct PathTrace {
    // Far thicker than the flowchart's lines, so that a trace shows by its
    // width alone. An outline is drawn twice as wide, centred on the shape's
    // edge, and its inner half clipped away by traceArea().
    static constexpr int Width = 4;

    QPainterPath start; // the «Начало» terminator
    QList<QPolygonF> outlines; // the blocks visited
    QList<QLineF> arrows; // the arrows followed, from «Начало» on
};
PathTrace tracePath(const FlowchartPath &path, const FlowchartLayout &layout);

// Where a trace may be drawn within bounds: outside every shape and its own
// lines, so the texts and captions inside stay whole and the flowchart's
// lines stay as drawn; in a narrow window, where neighbouring chapters
// overlap, also theirs.
QPainterPath traceArea(const FlowchartLayout &layout, const QRectF &bounds);
