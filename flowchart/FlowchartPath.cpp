#include "flowchart/FlowchartPath.h"

#include <QPainterPathStroker>

FlowchartPath FlowchartPath::taking(QList<bool> exits)
{
    FlowchartPath path;
    int place = FirstBlock;
    while (isBlock(place)) {
        path.blocks << place;
        if (!isQuestionBlock(place))
            place = FlowchartBlocks[place].next;
        else if (exits.isEmpty())
            break;
        else
            place = exitTarget(place, exits.takeFirst());
    }
    return path;
}

QList<FlowchartPath> FlowchartPath::everyWay()
{
    QList<FlowchartPath> ways;
    for (const bool first : { false, true }) {
        for (const bool second : { first, !first })
            ways << taking({ first, second });
    }
    return ways;
}

std::optional<bool> FlowchartPath::exitAt(int block) const
{
    const qsizetype at = blocks.indexOf(block);
    if (!isQuestionBlock(block) || at < 0 || at + 1 >= blocks.size())
        return std::nullopt;
    return blocks[at + 1] == exitTarget(block, true);
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
