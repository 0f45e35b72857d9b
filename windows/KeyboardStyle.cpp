#include "windows/KeyboardStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

KeyboardStyle::KeyboardStyle(QStyle *base)
    : QProxyStyle(base)
{
    qApp->installEventFilter(this);
    // Alt let go while another window was taking the focus is never heard
    // of; the keyboard itself is asked while Alt counts as held.
    m_altWatch.setInterval(250);
    connect(&m_altWatch, &QTimer::timeout, this, [this] {
        if (!(QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier))
            setAltDown(false);
    });
}

void KeyboardStyle::install()
{
    // Over the style that reads the menu bar's arrow without asking every
    // image plugin.
    QApplication::setStyle(new KeyboardStyle);
}

int KeyboardStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
    QStyleHintReturn *returnData) const
{
    if (hint == SH_UnderlineShortcut
        && (qobject_cast<const QMenuBar *>(widget) || qobject_cast<const QMenu *>(widget))) {
        return menusByKeyboard() ? 1 : 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool KeyboardStyle::menusByKeyboard() const
{
    if (m_altDown)
        return true;
    // A menu bar in keyboard mode holds the focus; a menu it opened is the
    // active popup.
    return m_altUsed
        && (qobject_cast<QMenuBar *>(QApplication::focusWidget())
            || QApplication::activePopupWidget());
}

bool KeyboardStyle::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Alt || key->key() == Qt::Key_AltGr)
            setAltDown(event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseButtonPress:
        m_altUsed = false;
        break;
    case QEvent::ApplicationDeactivate:
        // Alt released in another program never reaches this one.
        setAltDown(false);
        m_altUsed = false;
        break;
    default:
        break;
    }
    return QProxyStyle::eventFilter(watched, event);
}

void KeyboardStyle::setAltDown(bool down)
{
    if (down)
        m_altUsed = true;
    if (m_altDown == down)
        return;
    m_altDown = down;
    if (down)
        m_altWatch.start();
    else
        m_altWatch.stop();
    // The underlines come and go with the key.
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->isVisible()
            && (qobject_cast<QMenuBar *>(widget) || qobject_cast<QMenu *>(widget)))
            widget->update();
    }
}
