#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTimer>

class SpellChecker;

// Underlines the misspelt words of a document with the desktop's spelling
// line, a red wave. Only the document's layout carries it: the text itself
// stays plain. The word being typed is left alone until the caret leaves it
// or the typing pauses: a word half typed is no mistake.
class SpellingHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    // Long enough for a pupil who looks for the next letter.
    static constexpr int PauseMs = 1500;

    SpellingHighlighter(SpellChecker &checker, QTextDocument *document);

    static QTextCharFormat misspeltFormat();

    // Text was typed (or deleted) and the caret stands at the position: the
    // word there waits. Must be told before the highlighter sees the change.
    void typedAt(int position);
    // The caret moved: out of the word being typed, that word is checked.
    void caretMovedTo(int position);
    // Every word is checked, the one being typed too.
    void settle();

protected:
    void highlightBlock(const QString &text) override;

private:
    SpellChecker &m_checker;
    int m_typing = -1; // the caret in the word being typed, or none
    QTimer m_pause;
};
