#include "editor/ReadPathMark.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"

#include <QPainter>

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
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(traceArea(m_layout, rect()));
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
