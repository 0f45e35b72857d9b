#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// The program's window of the given class, found as the user meets it among
// the application's windows, loaded or hidden; null when there is none.
template <class Window> Window *findWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget))
            return window;
    }
    return nullptr;
}

// Brings the window back as the program does when the user returns to it
// from another of its windows: shown anew and made active; false when the
// platform never activated it.
inline bool comeBackTo(QWidget *window)
{
    QWidget other;
    other.show();
    other.activateWindow();
    if (!QTest::qWaitFor([&] { return other.isActiveWindow(); }))
        return false;
    window->hide();
    window->show();
    window->activateWindow();
    return QTest::qWaitFor([&] { return window->isActiveWindow(); });
}
