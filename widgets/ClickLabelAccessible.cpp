#include "widgets/ClickLabelAccessible.h"

#include "widgets/ClickLabel.h"

#include <QMetaObject>
#include <QPointer>

namespace {

QAccessibleInterface *clickLabelInterface(const QString &className, QObject *object)
{
    // Asked for each class of the object in turn; the label's own classes
    // answer, and a plain label falls through to Qt's own interface.
    if (className != QLatin1String("ClickLabel") && className != QLatin1String("PictureBox"))
        return nullptr;
    auto *label = qobject_cast<ClickLabel *>(object);
    return label && label->isButton() ? new ClickLabelAccessible(label) : nullptr;
}

} // namespace

ClickLabelAccessible::ClickLabelAccessible(ClickLabel *label)
    : QAccessibleWidget(label, QAccessible::Button)
{
}

void ClickLabelAccessible::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(clickLabelInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

ClickLabel *ClickLabelAccessible::label() const
{
    return static_cast<ClickLabel *>(widget());
}

QString ClickLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description)
        return label()->description();
    return QAccessibleWidget::text(t);
}

QStringList ClickLabelAccessible::actionNames() const
{
    return QStringList(pressAction()) + QAccessibleWidget::actionNames();
}

void ClickLabelAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // The click may open a modal window; the tool that asked must get its
    // answer first, not wait until the window closes.
    QMetaObject::invokeMethod(
        label(),
        [label = QPointer<ClickLabel>(label())] {
            if (label)
                label->click();
        },
        Qt::QueuedConnection);
}

QStringList ClickLabelAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName == pressAction())
        return { QStringLiteral("Пробел или Ввод") };
    return QAccessibleWidget::keyBindingsForAction(actionName);
}
