#include "editor/EditorCanvas.h"

#include "flowchart/Surface.h"

#include <QPaintEvent>
#include <QPainter>

EditorCanvas::EditorCanvas(const Surface &surface, QWidget *parent)
    : QWidget(parent)
    , m_surface(surface)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
}

QImage EditorCanvas::render(qreal devicePixelRatio) const
{
    return m_surface.render(size(), devicePixelRatio);
}

void EditorCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    m_surface.replay(painter);
}
