#include "editor/ReadPathMark.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"

#include <QPainter>
#include <QPainterPathStroker>

ReadPathMark::ReadPathMark(QWidget *canvas, const FlowchartLayout &layout)
    : CanvasLayer(canvas, QStringLiteral("readPathMark"))
    , m_layout(layout)
{
}

void ReadPathMark::setPath(const FlowchartPath &path)
{
    if (m_path == path)
        return;
    m_path = path;
    update();
}

void ReadPathMark::paintEvent(QPaintEvent *)
{
    const PathTrace trace = tracePath(m_path, m_layout);
    if (trace.outlines.isEmpty())
        return;
    // The trace runs outside every shape and its own lines, so the texts and
    // captions inside stay whole and the flowchart's lines stay black; in a
    // narrow window, where neighbouring chapters overlap, also theirs.
    QPainterPath inside = trace.start;
    inside.setFillRule(Qt::WindingFill);
    for (int block = 0; block < BlockCount; ++block) {
        inside.addPolygon(m_layout.blockOutline(block));
        inside.closeSubpath();
    }
    QPainterPathStroker ownLines;
    ownLines.setWidth(2);
    inside = inside.united(ownLines.createStroke(inside));
    QPainterPath outside;
    outside.addRect(rect());

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(outside.subtracted(inside));
    const QColor colour = palette().color(QPalette::Active, QPalette::Link);
    // Centred on an outline, half the pen lies inside and is clipped away.
    painter.setPen(QPen(colour, 2 * Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPath(trace.start);
    for (const QPolygonF &outline : trace.outlines)
        painter.drawPolygon(outline);
    painter.setPen(QPen(colour, Width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QLineF &arrow : trace.arrows)
        painter.drawLine(arrow);
}
