#pragma once

#include "flowchart/FlowchartLayout.h"
#include "reader/ReadingWalk.h"

// Where a reading's path lies on the flowchart, in the client area's pixels:
// what the editor traces over its drawing once the reader is done. Nothing
// for an empty path.
struct ReadPathTrace {
    QPainterPath start; // the «Начало» terminator
    QList<QPolygonF> outlines; // the blocks visited
    QList<QLineF> arrows; // the arrows followed, from «Начало» on
};
ReadPathTrace traceReadPath(const ReadingWalk::Path &path, const FlowchartLayout &layout);
