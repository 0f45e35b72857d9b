#pragma once

#include <QString>
#include <Qt>

// Keys as the keyboard sends them: to the window that has the focus, through
// the platform's path, so shortcuts, access letters and Tab all apply.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString &text = QString());
// Types the text a key at a time, Cyrillic included.
void typeText(const QString &text);
// Alt with the access letter of a menu or command, as a pupil presses it.
void pressAltLetter(QChar letter);

#include <functional>
#include <QList>

class QWidget;

// Answers the modal windows that open one after another, each by the next
// step, once it is up and has the focus; a window is never answered twice.
// Gives up after the deadline instead of hanging. modalStepsLeft() tells how
// many steps never ran; modalsAnswered(), that every step ran, the last
// window has closed and its owner is active again.
void answerModals(const QList<std::function<void(QWidget *)>> &steps, int deadlineMs = 10000);
int modalStepsLeft();
bool modalsAnswered();
