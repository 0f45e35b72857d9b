#include "widgets/ClickLabel.h"

#include "widgets/ClickLabelAccessible.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>

void ClickLabel::makeButton(const QString &name, Describe describe)
{
    ClickLabelAccessible::installFactory();
    m_button = true;
    m_describe = std::move(describe);
    // With a screen reader running, the label may already have been shown to
    // it as a plain picture or text; it is a button from now on.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(this);
            plain && plain->role() != QAccessible::Button) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
        }
    }
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
}

QString ClickLabel::description() const
{
    return m_describe ? m_describe() : accessibleDescription();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    const bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->key() == Qt::Key_Space;
    if (m_button && press && !event->isAutoRepeat()
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QLabel::keyPressEvent(event);
}
