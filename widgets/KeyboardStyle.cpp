#include "widgets/KeyboardStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

KeyboardStyle::KeyboardStyle()
{
    qApp->installEventFilter(this);
}

void KeyboardStyle::install()
{
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
        if (event->type() == QEvent::KeyPress && pressesButton(watched, *key))
            return true;
        break;
    }
    case QEvent::MouseButtonPress:
        m_altUsed = false;
        break;
    case QEvent::WindowActivate:
        // Alt let go while the focus moved between windows reaches neither;
        // the keyboard itself is asked once the new window has it.
        if (m_altDown && !(QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier))
            setAltDown(false);
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

bool KeyboardStyle::pressesButton(QObject *watched, const QKeyEvent &key)
{
    // Enter on a focused button presses it, as Space does. A dialog presses
    // its own default buttons; a button that is none of those gets nothing
    // from Enter otherwise.
    auto *button = qobject_cast<QPushButton *>(watched);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!button || !enter || button->autoDefault() || button->isDefault() || key.isAutoRepeat()
        || !button->hasFocus() || !button->isEnabled()
        || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button->click();
    return true;
}

void KeyboardStyle::setAltDown(bool down)
{
    if (down)
        m_altUsed = true;
    if (m_altDown == down)
        return;
    m_altDown = down;
    // The underlines come and go with the key.
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->isVisible()
            && (qobject_cast<QMenuBar *>(widget) || qobject_cast<QMenu *>(widget)))
            widget->update();
    }
}
