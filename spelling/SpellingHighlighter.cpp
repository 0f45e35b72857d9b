#include "spelling/SpellingHighlighter.h"

#include "spelling/SpellChecker.h"

SpellingHighlighter::SpellingHighlighter(SpellChecker &checker, QTextDocument *document)
    : QSyntaxHighlighter(document)
    , m_checker(checker)
{
}

QTextCharFormat SpellingHighlighter::misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellingHighlighter::highlightBlock(const QString &text)
{
    static const QTextCharFormat misspelt = misspeltFormat();
    for (const SpellChecker::Word &word : m_checker.misspelt(text))
        setFormat(word.start, word.length, misspelt);
}
