#include "editor/EditorKeyboard.h"

#include "editor/FocusMark.h"
#include "windows/Announcer.h"
#include "windows/ClickLabel.h"

#include <QApplication>
#include <QKeyEvent>

#include <array>

namespace {

struct Arrows {
    int up, down, left, right;
};

// Blocks 0 to 9 and frames 10 to 13, as the flowchart joins them.
constexpr std::array<Arrows, EditorKeyboard::PlaceCount> ArrowTable = { {
    { -1, 1, -1, -1 }, // opening chapter
    { 0, -1, 2, 3 }, // first question: false exit left, true exit right
    { 1, 4, -1, 3 },
    { 1, 5, 2, -1 },
    { 2, -1, 6, 7 }, // left-branch question
    { 3, -1, 8, 9 }, // right-branch question
    { 4, 10, -1, 7 }, // endings, each above its picture frame
    { 4, 11, 6, 8 },
    { 5, 12, 7, 9 },
    { 5, 13, 8, -1 },
    { 6, -1, -1, 11 }, // picture frames
    { 7, -1, 10, 12 },
    { 8, -1, 11, 13 },
    { 9, -1, 12, -1 },
} };

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

int EditorKeyboard::arrowTarget(int place, int key)
{
    if (place < 0 || place >= PlaceCount)
        return -1;
    const Arrows &arrows = ArrowTable[place];
    switch (key) {
    case Qt::Key_Up:
        return arrows.up;
    case Qt::Key_Down:
        return arrows.down;
    case Qt::Key_Left:
        return arrows.left;
    case Qt::Key_Right:
        return arrows.right;
    default:
        return -1;
    }
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
        const int target = arrowTarget(place, key->key());
        if (place >= 0 && key->modifiers() == Qt::NoModifier && isArrowKey(key->key())) {
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
