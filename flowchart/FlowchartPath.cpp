#include "flowchart/FlowchartPath.h"

#include <QPainterPathStroker>

std::optional<bool> FlowchartPath::exitAt(int block) const
{
    // The questions of a path are its second and fourth blocks.
    for (qsizetype i = 0; i < trueExits.size(); ++i) {
        if (blocks.value(1 + 2 * i) == block)
            return trueExits[i];
    }
    return std::nullopt;
}

PathTrace tracePath(const FlowchartPath &path, const FlowchartLayout &layout)
{
    PathTrace trace;
    if (path.isEmpty())
        return trace;
    trace.start = layout.startOutline();
    int from = StartTerminator;
    for (const int block : path.blocks) {
        trace.arrows << layout.arrow(from, block);
        trace.outlines << layout.blockOutline(block);
        from = block;
    }
    return trace;
}

QPainterPath traceArea(const FlowchartLayout &layout, const QRectF &bounds)
{
    QPainterPath inside = layout.startOutline();
    inside.setFillRule(Qt::WindingFill);
    for (int block = 0; block < BlockCount; ++block) {
        inside.addPolygon(layout.blockOutline(block));
        inside.closeSubpath();
    }
    QPainterPathStroker ownLines;
    ownLines.setWidth(2);
    inside = inside.united(ownLines.createStroke(inside));
    QPainterPath outside;
    outside.addRect(bounds);
    return outside.subtracted(inside);
}
