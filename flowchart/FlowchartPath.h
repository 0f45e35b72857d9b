#pragma once

#include "flowchart/FlowchartLayout.h"

#include <QList>

#include <optional>

// A way through the flowchart, as a reading takes it: the blocks in the
// order met, a question as soon as it is asked. Empty for no reading.
struct FlowchartPath {
    QList<int> blocks;

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
    QPainterPath start; // the «Начало» terminator
    QList<QPolygonF> outlines; // the blocks visited
    QList<QLineF> arrows; // the arrows followed, from «Начало» on
};
PathTrace tracePath(const FlowchartPath &path, const FlowchartLayout &layout);
