#include "windows/ClickLabel.h"

#include "windows/ClickLabelAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>

void ClickLabel::makeButton(const QString &name, Describe describe)
{
    m_button = true;
    m_describe = std::move(describe);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(name);
    ClickLabelAccessible::installFactory();
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
