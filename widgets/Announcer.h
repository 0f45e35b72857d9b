#pragma once

#include <QTimer>
#include <QWidget>

// Words for a screen reader alone: a notification that appears to it and
// shows nothing on the screen, for what the eye sees without being told
// (a key that leads nowhere, a story saved). Qt 6.4 gives a screen reader
// no text with a changed description, so a notification is what is heard.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    // Speaks the words now, also the same words twice in a row.
    void say(const QString &words);

protected:
    void paintEvent(QPaintEvent *) override { }

private:
    // Gone again soon, or showing its window again would say it anew.
    QTimer m_gone;
};
