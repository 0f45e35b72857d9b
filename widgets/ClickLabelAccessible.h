#pragma once

#include <QAccessibleWidget>

class ClickLabel;

// What assistive tools see of a click label made a button: a button with a
// name, a description and a press action that clicks it.
class ClickLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(ClickLabel *label);

    // Once per program: click labels made buttons get this interface.
    static void installFactory();

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    ClickLabel *label() const;
};
