#include "widgets/ComingBack.h"

#include <QEvent>
#include <QWidget>

ComingBack::ComingBack(QWidget *window)
    : QObject(window)
{
    window->installEventFilter(this);
}

void ComingBack::returned()
{
    auto *window = static_cast<QWidget *>(parent());
    if (window->isActiveWindow()) {
        m_expected = false;
        emit cameBack();
    } else {
        m_expected = true;
        window->activateWindow();
    }
}

bool ComingBack::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Only the program's own show counts, not a restore by the desktop.
        if (!event->spontaneous())
            m_expected = true;
        break;
    case QEvent::WindowActivate:
        if (m_expected) {
            m_expected = false;
            emit cameBack();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
