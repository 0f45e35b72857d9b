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
    QImage image(size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    const int dotsPerMeter = qRound(96.0 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    m_surface.replay(painter);
    return image;
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
