#include "support/KeyInput.h"

#include <QApplication>
#include <QDebug>
#include <QElapsedTimer>
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
bool g_answered = true;
} // namespace

void answerModals(const QList<std::function<void(QWidget *)>> &steps, int deadlineMs)
{
    g_answered = false;
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    auto last = std::make_shared<QPointer<QWidget>>();
    auto next = std::make_shared<int>(0);
    auto owner = std::make_shared<QPointer<QWidget>>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        // A window manager gives the focus back to the owner of a closed
        // dialog; the offscreen platform has none, so this stands in for it.
        const bool closed = !*last || !(*last)->isVisible();
        if (closed && *owner && (*owner)->isVisible() && !QGuiApplication::focusWindow()
            && !QApplication::activeModalWidget()) {
            (*owner)->activateWindow();
        }
        if (*next >= steps.size() && closed && (!*owner || (*owner)->isActiveWindow())) {
            g_answered = true;
            timer->stop();
            timer->deleteLater();
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (*next < steps.size() && modal && modal != *last && modal->isVisible()
            && modal->isActiveWindow()) {
            *last = modal;
            *owner = modal->parentWidget() ? modal->parentWidget()->window() : nullptr;
            const auto step = steps.at((*next)++);
            // The step may open the next window and wait in it; this timer
            // must keep polling meanwhile.
            QTimer::singleShot(0, modal, [step, modal] { step(modal); });
        }
        if (clock->elapsed() > deadlineMs) {
            if (*next < steps.size())
                qWarning("answerModals: %d windows never came", int(steps.size() - *next));
            // A window left open would hang the test instead of failing it.
            if (QWidget *stuck = QApplication::activeModalWidget()) {
                qWarning() << "answerModals: closing" << stuck << "unanswered; focus in"
                           << QGuiApplication::focusWindow();
                stuck->close();
            }
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(50);
}

bool modalsAnswered()
{
    return g_answered;
}
