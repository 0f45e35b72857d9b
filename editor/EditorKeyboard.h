#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class Announcer;
class ClickLabel;
class FocusMark;
class QWidget;

// The editor worked from the keyboard: Tab and Shift+Tab walk the ten blocks
// in story order and then the four picture frames; the arrow keys follow the
// flowchart's arrows; the focus mark shows once these keys are used and goes
// when the mouse is.
class EditorKeyboard : public QObject {
    Q_OBJECT

public:
    // The places in the walk: blocks 0 to 9, then frames 0 to 3 as 10 to 13.
    EditorKeyboard(QWidget *window, QWidget *canvas, const QList<ClickLabel *> &places);

    FocusMark *mark() const { return m_mark; }

    // Where an arrow key leads from a place: down an arrow of the flowchart,
    // back up it, into a question's false (left) or true (right) exit, or to
    // the nearest place that way as drawn; -1 where it leads nowhere.
    int arrowTarget(int place, int key) const;

    // Tells a screen reader what the eye sees without being told.
    Announcer *announcer() const { return m_announcer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inWindow(QObject *object) const;
    int nearestPlace(int place, int key) const;

    QWidget *m_window;
    QList<ClickLabel *> m_places;
    FocusMark *m_mark = nullptr;
    Announcer *m_announcer = nullptr;
    QPointer<ClickLabel> m_lastPlace;
};
