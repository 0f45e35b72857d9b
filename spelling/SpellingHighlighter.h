#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class SpellChecker;

// Underlines the misspelt words of a document with the desktop's spelling
// line, a red wave. Only the document's layout carries it: the text itself
// stays plain.
class SpellingHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    SpellingHighlighter(SpellChecker &checker, QTextDocument *document);

    static QTextCharFormat misspeltFormat();

protected:
    void highlightBlock(const QString &text) override;

private:
    SpellChecker &m_checker;
};
