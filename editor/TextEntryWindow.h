#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class SpellChecker;
class SpellingHighlighter;
struct StoryDocument;

// The text-entry window: shows the chosen block's text, and stores whatever
// the box holds when the child is done, by the button or by the close box.
// While spelling is on, words the dictionary does not know are underlined,
// and the box's menu offers what to write instead.
class TextEntryWindow : public QDialog {
    Q_OBJECT

public:
    TextEntryWindow(StoryDocument &story, SpellChecker &spelling, QWidget *owner);

    QPlainTextEdit *textBox() const { return m_text; }
    QPushButton *doneButton() const { return m_button; }
    // Says that what was pasted or typed past the most a block takes was cut.
    QLabel *cutNote() const { return m_cutNote; }

    // Fills the box with the current block's text and shows the window modally.
    void showForBlock();

    void finishEntry();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeText();
    void keepWithinLimit(int position, int added);
    // The box's own menu, with a misspelt word's suggestions and «Пропустить» first.
    void showTextMenu(const QPoint &at);

    StoryDocument &m_story;
    SpellChecker &m_spelling;
    SpellingHighlighter *m_highlighter = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QPushButton *m_button = nullptr;
    QLabel *m_cutNote = nullptr;
};
