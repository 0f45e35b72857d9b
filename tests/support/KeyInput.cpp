#include "support/KeyInput.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QWindow *window = QGuiApplication::focusWindow();
    if (!window) {
        qWarning("pressKey: no window has the focus");
        return;
    }
    QTest::sendKeyEvent(QTest::Click, window, key, text, modifiers);
}

void typeText(const QString &text)
{
    for (const QChar c : text) {
        const Qt::Key key = c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key(c.toUpper().unicode());
        pressKey(key, Qt::NoModifier, QString(c));
    }
}

void pressAltLetter(QChar letter)
{
    pressKey(Qt::Key(letter.toUpper().unicode()), Qt::AltModifier, QString(letter.toLower()));
}

namespace {

// One answerModals call, shared by its timer and the test that waits on it.
struct Answering {
    QList<std::function<void(QWidget *)>> steps;
    qsizetype next = 0;
    QPointer<QWidget> last;
    QPointer<QWidget> owner;
    bool handBack = false;
    bool done = false;
    bool gaveUp = false;

    bool finished()
    {
        if (!done && !gaveUp) {
            done = next >= steps.size() && (!last || !last->isVisible())
                && (!owner || owner->isActiveWindow());
        }
        return done;
    }
};

// A window manager gives the focus back to the owner of a closed Qt dialog;
// the offscreen platform has none. The program's own windows ask for it
// themselves, and the tests check that they do, so they get no help.
bool handedBackByDesktop(QWidget *modal)
{
    return qobject_cast<QMessageBox *>(modal) || qobject_cast<QInputDialog *>(modal)
        || qobject_cast<QFileDialog *>(modal) || qobject_cast<QAbstractPrintDialog *>(modal);
}

// A test that ends as its last window closes leaves the timer waiting for
// its next tick; it goes with the application.
QList<QPointer<QTimer>> &answeringTimers()
{
    static QList<QPointer<QTimer>> timers;
    static const bool cleared = [] {
        qAddPostRoutine([] { qDeleteAll(answeringTimers()); });
        return true;
    }();
    Q_UNUSED(cleared);
    return timers;
}

} // namespace

std::function<bool()> answerModals(
    const QList<std::function<void(QWidget *)>> &steps, int deadlineMs)
{
    auto state = std::make_shared<Answering>();
    state->steps = steps;
    // Without a parent: tests that count the application's objects must not
    // find it.
    auto *timer = new QTimer;
    answeringTimers().removeAll(nullptr);
    answeringTimers().append(timer);
    const QDeadlineTimer deadline(deadlineMs);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (state->finished()) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        const bool closed = !state->last || !state->last->isVisible();
        if (closed && state->handBack && state->owner && state->owner->isVisible()
            && !QGuiApplication::focusWindow() && !QApplication::activeModalWidget()) {
            state->owner->activateWindow();
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (state->next < state->steps.size() && modal && modal != state->last && modal->isVisible()
            && modal->isActiveWindow()) {
            state->last = modal;
            state->owner = modal->parentWidget() ? modal->parentWidget()->window() : nullptr;
            state->handBack = handedBackByDesktop(modal);
            const auto step = state->steps.at(state->next++);
            // The step may open the next window and wait in it; this timer
            // must keep polling meanwhile.
            QTimer::singleShot(0, modal, [step, modal] { step(modal); });
        }
        if (deadline.hasExpired()) {
            if (state->next < state->steps.size()) {
                qWarning(
                    "answerModals: %d windows never came", int(state->steps.size() - state->next));
            }
            // A window left open would hang the test instead of failing it.
            if (QWidget *stuck = QApplication::activeModalWidget()) {
                qWarning() << "answerModals: closing" << stuck << "unanswered; focus in"
                           << QGuiApplication::focusWindow();
                stuck->close();
            }
            state->gaveUp = true;
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(50);
    return [state] { return state->finished(); };
}
