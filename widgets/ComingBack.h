#pragma once

#include <QObject>

class QWidget;

// The activations a window reacts to are those of coming back to it: its
// own show, and the return from a window it opened and expects back. Every
// message box and file dialog also hands the activation back when it
// closes, and so does the desktop after another program; those are no
// coming back and are let pass.
// A window shown maximized comes back at the size it is shown at: some
// platforms (Windows, Wine) activate it before they maximize it, so the
// maximizing that follows its activation belongs to that coming back.
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
    // Whether the window was asked to be maximized and is not yet as wide
    // as its screen lets it be.
    static bool stillMaximizing(const QWidget *window);

    bool m_expected = false;
    bool m_maximizing = false;
};
