#include "spelling/SpellingHighlighter.h"

#include "spelling/SpellChecker.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

SpellingHighlighter::SpellingHighlighter(SpellChecker &checker, QTextDocument *document)
    : QSyntaxHighlighter(document)
    , m_checker(checker)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &SpellingHighlighter::settle);
}

QTextCharFormat SpellingHighlighter::misspeltFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellingHighlighter::typedAt(int position)
{
    m_typing = position;
    m_pause.start();
}

void SpellingHighlighter::caretMovedTo(int position)
{
    if (m_typing < 0 || position == m_typing)
        return;
    // Still in the same word: only letters lie between.
    const QTextBlock block = document()->findBlock(m_typing);
    if (block.isValid() && block.contains(position)) {
        const int from = std::min(position, m_typing) - block.position();
        const QString between = block.text().mid(from, std::abs(position - m_typing));
        if (std::all_of(between.begin(), between.end(),
                [](QChar c) { return c.isLetter() || c.isMark(); })) {
            m_typing = position;
            return;
        }
    }
    settle();
}

void SpellingHighlighter::settle()
{
    m_pause.stop();
    if (m_typing < 0)
        return;
    const QTextBlock block = document()->findBlock(m_typing);
    m_typing = -1;
    if (block.isValid())
        rehighlightBlock(block);
}

void SpellingHighlighter::highlightBlock(const QString &text)
{
    static const QTextCharFormat misspelt = misspeltFormat();
    const bool typingHere = m_typing >= 0 && currentBlock().contains(m_typing);
    const int caret = m_typing - currentBlock().position();
    for (const SpellChecker::Word &word : m_checker.misspelt(text)) {
        if (typingHere && caret >= word.start && caret <= word.start + word.length)
            continue;
        setFormat(word.start, word.length, misspelt);
    }
}
