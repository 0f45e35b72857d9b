#include "editor/FocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

FocusMark::FocusMark(QWidget *canvas, const QList<QWidget *> &targets)
    : CanvasLayer(canvas, QStringLiteral("focusMark"))
    , m_targets(targets)
{
    for (QWidget *target : m_targets)
        target->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusMark::refresh);
}

void FocusMark::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    refresh();
}

QRect FocusMark::markRect() const
{
    QWidget *focused = QApplication::focusWidget();
    if (!m_shown || !m_targets.contains(focused))
        return {};
    return focused->geometry().adjusted(-Width, -Width, Width, Width);
}

bool FocusMark::eventFilter(QObject *watched, QEvent *event)
{
    // The redraw on activation places the controls anew.
    if (watched != parent() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        refresh();
    return CanvasLayer::eventFilter(watched, event);
}

void FocusMark::refresh()
{
    const QRect now = markRect();
    if (now == m_painted)
        return;
    update(QRegion(m_painted) + QRegion(now));
    m_painted = now;
}

void FocusMark::paintEvent(QPaintEvent *)
{
    const QRect outer = markRect();
    if (outer.isEmpty())
        return;
    const QRect inner = outer.adjusted(Width, Width, -Width, -Width);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    QPainter painter(this);
    for (const QRect &band : QRegion(outer).subtracted(QRegion(inner)))
        painter.fillRect(band, colour);
}
