#include "widgets/MenuItemAccessible.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

namespace {

QWidget *menuOf(QAction *action)
{
    if (!action)
        return nullptr;
    for (QObject *owner : action->associatedObjects()) {
        if (qobject_cast<QMenu *>(owner) || qobject_cast<QMenuBar *>(owner))
            return static_cast<QWidget *>(owner);
    }
    return nullptr;
}

QAccessibleInterface *menuItemInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String("QAction"))
        return nullptr;
    auto *action = qobject_cast<QAction *>(object);
    QWidget *owner = menuOf(action);
    return owner ? new MenuItemAccessible(action, owner) : nullptr;
}

// The caption as the eye reads it: "&&" is an ampersand, "&" marks the
// access letter.
QString withoutMarks(const QString &caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

QString accessLetter(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (caption[i + 1] != u'&')
                return caption[i + 1].toUpper();
            ++i;
        }
    }
    return QString();
}

QString withAlt(const QString &letter)
{
    return letter.isEmpty() ? QString() : QStringLiteral("Alt+") + letter;
}

// The keys that reach the command from its window: Alt and the letter on
// the menu bar, then the letter in each menu below ("Alt+Р:Ч").
QString keysFromWindow(QAction *action, QWidget *owner)
{
    const QString letter = accessLetter(action->text());
    if (letter.isEmpty())
        return QString();
    if (qobject_cast<QMenuBar *>(owner))
        return withAlt(letter);
    auto *menu = qobject_cast<QMenu *>(owner);
    QAction *opening = menu ? menu->menuAction() : nullptr;
    QWidget *above = menuOf(opening);
    const QString before = above ? keysFromWindow(opening, above) : QString();
    return before.isEmpty() ? QString() : before + QLatin1Char(':') + letter;
}

} // namespace

MenuItemAccessible::MenuItemAccessible(QAction *action, QWidget *owner)
    : m_action(action)
    , m_owner(owner)
{
}

void MenuItemAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(menuItemInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

bool MenuItemAccessible::isValid() const
{
    return m_action && m_owner;
}

QObject *MenuItemAccessible::object() const
{
    return m_action;
}

QWindow *MenuItemAccessible::window() const
{
    return m_owner ? m_owner->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MenuItemAccessible::childAt(int, int) const
{
    return nullptr;
}

QAccessibleInterface *MenuItemAccessible::parent() const
{
    return QAccessible::queryAccessibleInterface(m_owner);
}

QAccessibleInterface *MenuItemAccessible::child(int index) const
{
    return index == 0 && childCount() == 1 ? QAccessible::queryAccessibleInterface(m_action->menu())
                                           : nullptr;
}

int MenuItemAccessible::childCount() const
{
    return m_action && m_action->menu() ? 1 : 0;
}

int MenuItemAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && childCount() == 1 && child->object() == m_action->menu() ? 0 : -1;
}

QString MenuItemAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return QString();
    switch (t) {
    case QAccessible::Name:
        return withoutMarks(m_action->text());
    case QAccessible::Accelerator: {
        const QString shortcut = m_action->shortcut().toString(QKeySequence::NativeText);
        return shortcut.isEmpty() ? withAlt(accessLetter(m_action->text())) : shortcut;
    }
    case QAccessible::Description: {
        // A tooltip of its own; Qt makes one of the caption otherwise.
        const QString tip = m_action->toolTip();
        return tip == m_action->iconText() ? QString() : tip;
    }
    default:
        return QString();
    }
}

void MenuItemAccessible::setText(QAccessible::Text, const QString &) { }

QRect MenuItemAccessible::rect() const
{
    QRect place;
    if (auto *bar = qobject_cast<QMenuBar *>(m_owner))
        place = bar->actionGeometry(m_action);
    else if (auto *menu = qobject_cast<QMenu *>(m_owner))
        place = menu->actionGeometry(m_action);
    return place.isValid() ? QRect(m_owner->mapToGlobal(place.topLeft()), place.size()) : QRect();
}

QAccessible::Role MenuItemAccessible::role() const
{
    return m_action && m_action->isSeparator() ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State MenuItemAccessible::state() const
{
    QAccessible::State state;
    if (!isValid())
        return state;
    state.invisible = !m_owner->isVisible() || !m_action->isVisible();
    if (auto *bar = qobject_cast<QMenuBar *>(m_owner))
        state.focused = bar->activeAction() == m_action;
    else if (auto *menu = qobject_cast<QMenu *>(m_owner))
        state.focused = menu->activeAction() == m_action;
    state.focusable = !m_action->isSeparator();
    state.disabled = m_action->isSeparator() || !m_action->isEnabled();
    state.checkable = m_action->isCheckable();
    state.checked = m_action->isChecked();
    return state;
}

void *MenuItemAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                : nullptr;
}

QStringList MenuItemAccessible::actionNames() const
{
    if (!m_action || m_action->isSeparator())
        return {};
    return { m_action->menu() ? showMenuAction() : pressAction() };
}

void MenuItemAccessible::doAction(const QString &actionName)
{
    if (!isValid() || !m_action->isEnabled() || !actionNames().contains(actionName))
        return;
    if (actionName == pressAction()) {
        m_action->trigger();
    } else if (m_action->menu()->isVisible()) {
        m_action->menu()->hide();
    } else if (auto *bar = qobject_cast<QMenuBar *>(m_owner)) {
        bar->setActiveAction(m_action);
    } else if (auto *menu = qobject_cast<QMenu *>(m_owner)) {
        menu->setActiveAction(m_action);
    }
}

QStringList MenuItemAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (!isValid() || !actionNames().contains(actionName))
        return {};
    // The bridge joins them with ";", as AT-SPI's "mnemonic;full path;
    // shortcut", which screen readers read.
    const QString letter = accessLetter(m_action->text());
    const bool onBar = qobject_cast<QMenuBar *>(m_owner);
    const QString mnemonic = onBar ? withAlt(letter) : letter;
    return { mnemonic, keysFromWindow(m_action, m_owner),
        m_action->shortcut().toString(QKeySequence::NativeText) };
}
