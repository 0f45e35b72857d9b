#pragma once

#include <QDialog>

class QPlainTextEdit;

// The help window: the program's description in a read-only box. A click
// around the box hides it, keeping the scroll position for next time; the
// close box unloads it, so the next opening starts from the top.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *owner = nullptr);

    // The description exactly as the design holds it: 20 lines, each ended
    // by CR LF.
    static QString helpText();
    // How to go on without the mouse, for a screen reader: the text itself
    // speaks of clicks.
    static QString keyboardHelp();

    QPlainTextEdit *textBox() const { return m_text; }

    // What can happen to the window.
    void marginClicked();
    void boxTextChanged();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QPlainTextEdit *m_text = nullptr;
};
