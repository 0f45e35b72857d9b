#pragma once

#include <QList>
#include <QString>
#include <Qt>

#include <functional>

class QWidget;

// Keys as the keyboard sends them: to the window that has the focus, through
// the platform's path, so shortcuts, access letters and Tab all apply.
void pressKey(
    Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString());
// Types the text a key at a time, Cyrillic included.
void typeText(const QString &text);
// Alt with the access letter of a menu or command, as a pupil presses it.
void pressAltLetter(QChar letter);

// Answers the modal windows that open one after another, each by the next
// step, once it is up and has the focus; a window is never answered twice.
// What it returns tells that every step ran, the last window has closed and
// its owner is active again. Gives up after the deadline instead of hanging,
// and closes a window left open.
std::function<bool()> answerModals(
    const QList<std::function<void(QWidget *)>> &steps, int deadlineMs = 10000);
