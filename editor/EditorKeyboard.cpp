#include "editor/EditorKeyboard.h"

#include "editor/FocusMark.h"
#include "flowchart/FlowchartGraph.h"
#include "widgets/Announcer.h"
#include "widgets/ClickLabel.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

bool isArrowKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

QString noArrow(int key)
{
    const QString way = key == Qt::Key_Up ? QStringLiteral("вверх")
        : key == Qt::Key_Down             ? QStringLiteral("вниз")
        : key == Qt::Key_Left             ? QStringLiteral("влево")
                                          : QStringLiteral("вправо");
    return QStringLiteral("Отсюда стрелки %1 нет.").arg(way);
}

bool isWalkKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

} // namespace

EditorKeyboard::EditorKeyboard(QWidget *window, QWidget *canvas, const QList<ClickLabel *> &places)
    : QObject(window)
    , m_window(window)
    , m_places(places)
{
    for (int i = 0; i + 1 < m_places.size(); ++i)
        QWidget::setTabOrder(m_places[i], m_places[i + 1]);
    // The window opens on the opening block, as a story is read.
    m_lastPlace = m_places.first();
    m_lastPlace->setFocus(Qt::OtherFocusReason);
    m_mark = new FocusMark(canvas, QList<QWidget *>(m_places.begin(), m_places.end()));
    m_announcer = new Announcer(canvas);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        // Hiding the window moves its focus on; that is not the user's move.
        auto *place = qobject_cast<ClickLabel *>(now);
        if (place && m_places.contains(place) && m_window->isVisible())
            m_lastPlace = place;
    });
    qApp->installEventFilter(this);
}

int EditorKeyboard::arrowTarget(int place, int key) const
{
    if (place < 0 || place >= m_places.size())
        return -1;
    // Along the flowchart's arrows: up the arrow in, down to the one block
    // next, or by a question's exits.
    if (isBlock(place)) {
        const FlowchartBlock &block = FlowchartBlocks[place];
        if (key == Qt::Key_Up)
            return isBlock(arrowInto(place).from) ? arrowInto(place).from : -1;
        if (block.role == BlockRole::Question)
            return key == Qt::Key_Down ? -1 : exitTarget(place, key == Qt::Key_Right);
        if (key == Qt::Key_Down && isBlock(block.next))
            return block.next;
    }
    return nearestPlace(place, key);
}

int EditorKeyboard::nearestPlace(int place, int key) const
{
    const QPoint way = key == Qt::Key_Up ? QPoint(0, -1)
        : key == Qt::Key_Down            ? QPoint(0, 1)
        : key == Qt::Key_Left            ? QPoint(-1, 0)
                                         : QPoint(1, 0);
    const QPoint from = m_places[place]->geometry().center();
    int nearest = -1;
    for (int i = 0; i < m_places.size(); ++i) {
        const QRect to = m_places[i]->geometry();
        const QPoint step = to.center() - from;
        // Sideways only along a row, whose places share their top.
        const bool level = to.top() == m_places[place]->y();
        if (QPoint::dotProduct(step, way) > 0 && (way.x() == 0 || level)
            && (nearest < 0
                || step.manhattanLength()
                    < (m_places[nearest]->geometry().center() - from).manhattanLength()))
            nearest = i;
    }
    return nearest;
}

bool EditorKeyboard::inWindow(QObject *object) const
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == m_window;
}

bool EditorKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Show && m_lastPlace) {
        // Hiding the window, as reading does, takes the focus from it; the
        // reader comes back to where they left.
        m_lastPlace->setFocus(Qt::OtherFocusReason);
    } else if (event->type() == QEvent::MouseButtonPress && inWindow(watched)) {
        m_mark->setShown(false);
    } else if (event->type() == QEvent::KeyPress && inWindow(watched)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool plain = (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) == 0;
        if (plain && isWalkKey(key->key()))
            m_mark->setShown(true);
        const int place = m_places.indexOf(qobject_cast<ClickLabel *>(watched));
        if (place >= 0 && key->modifiers() == Qt::NoModifier && isArrowKey(key->key())) {
            const int target = arrowTarget(place, key->key());
            if (target >= 0) {
                m_places[target]->setFocus(Qt::OtherFocusReason);
            } else {
                // A key that does nothing must not be silent.
                QApplication::beep();
                m_announcer->say(noArrow(key->key()));
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
