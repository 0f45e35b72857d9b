#pragma once

#include <QAccessibleActionInterface>
#include <QPointer>

class QAction;
class QWidget;

// What assistive tools see of a command in a menu or on a menu bar. Qt's
// own menu items give no keys a screen reader says, and nothing of why a
// command is off: these give the keys as mnemonic, the way from the window
// and the shortcut ("Alt+Р:Ч", "Ctrl+S"), and the command's tooltip, where
// it has one, as its description.
class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QAction *action, QWidget *owner);

    // Once per program: every command in a menu gets this interface.
    static void installFactory();

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    QPointer<QAction> m_action;
    QPointer<QWidget> m_owner;
};
