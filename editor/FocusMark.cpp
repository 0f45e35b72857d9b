#include "editor/FocusMark.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

FocusMark::FocusMark(QWidget *canvas, const QList<QWidget *> &targets)
    : QWidget(canvas)
    , m_targets(targets)
{
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(canvas->rect());
    canvas->installEventFilter(this);
    for (QWidget *target : m_targets)
        target->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusMark::refresh);
    raise();
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
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        // The redraw on activation places the controls anew.
        refresh();
    }
    return QWidget::eventFilter(watched, event);
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
