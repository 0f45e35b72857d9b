#include "widgets/ComingBack.h"

#include <QEvent>
#include <QScreen>
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
            m_maximizing = stillMaximizing(static_cast<QWidget *>(watched));
            emit cameBack();
        }
        break;
    case QEvent::Resize:
        // Restored by the user meanwhile, the window is laid out no more.
        if (m_maximizing && static_cast<QWidget *>(watched)->isMaximized()) {
            m_maximizing = stillMaximizing(static_cast<QWidget *>(watched));
            emit cameBack();
        } else {
            m_maximizing = false;
        }
        break;
    case QEvent::Hide:
        m_maximizing = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool ComingBack::stillMaximizing(const QWidget *window)
{
    const QScreen *screen = window->screen();
    return window->isMaximized() && screen
        && window->frameGeometry().width() < screen->availableGeometry().width();
}
