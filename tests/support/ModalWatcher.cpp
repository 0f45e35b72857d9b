#include "support/ModalWatcher.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
bool g_done = true;
}

void whenModal(const std::function<void(QWidget *)> &action, int deadlineMs)
{
    g_done = false;
    auto *timer = new QTimer(qApp);
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            action(modal);
            g_done = true;
        } else if (clock->elapsed() > deadlineMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            qWarning("whenModal: no modal window appeared");
        }
    });
    timer->start(50);
}

bool whenModalDone()
{
    return g_done;
}
