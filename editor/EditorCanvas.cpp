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
    const qreal ratio = devicePixelRatioF();
    if (m_cachedRevision != m_surface.revision() || m_cache.size() != size() * ratio) {
        m_cache = render(ratio);
        m_cachedRevision = m_surface.revision();
    }
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, m_cache, QRectF(dirty.topLeft() * ratio, dirty.size() * ratio));
}
