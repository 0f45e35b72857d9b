#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
struct StoryDocument;

// The text-entry window: shows the chosen block's text, and stores whatever
// the box holds when the child is done, by the button or by the close box.
class FrmVvod : public QDialog
{
    Q_OBJECT

public:
    FrmVvod(StoryDocument &story, QWidget *owner);

    QPlainTextEdit *Text1() const { return m_text; }
    QPushButton *Command1() const { return m_button; }

    // Fills the box with the current block's text and shows the window modally.
    void showForBlock();

    void Command1_Click();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeText();

    StoryDocument &m_story;
    QPlainTextEdit *m_text = nullptr;
    QPushButton *m_button = nullptr;
};
