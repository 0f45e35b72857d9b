#pragma once

#include <QObject>

class QWidget;

// The activations a window reacts to are those of coming back to it: its
// own show, and the return from a window it opened and expects back. Every
// message box and file dialog also hands the activation back when it
// closes, and so does the desktop after another program; those are no
// coming back and are let pass.
class ComingBack : public QObject {
    Q_OBJECT

public:
    explicit ComingBack(QWidget *window);

    // A window the user was sent to has closed: the coming back is the next
    // activation, or now when this window is already active again. Not every
    // platform hands the activation back by itself, so it is asked for.
    void returned();

signals:
    // The window became active again by one of the expected ways.
    void cameBack();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_expected = false;
};
