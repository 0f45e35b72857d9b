#include "spelling/SpellChecker.h"

#include "spelling/Dictionary.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool isHyphen(QChar c)
{
    return c == u'-' || c == u'\u2010' || c == u'\u2011';
}

// «ё» and «е» are one letter to the checker, as to most who write.
QString withoutYo(QString word)
{
    word.replace(u'ё', u'е');
    word.replace(u'Ё', u'Е');
    return word;
}

// The checker reads Russian words only.
bool leftAlone(const QString &word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) {
        return c.isNumber() || (c.isLetter() && c.script() != QChar::Script_Cyrillic);
    });
}

bool inCapitals(const QString &part)
{
    return part.size() > 1 && part == part.toUpper();
}

// Words as Unicode finds them, with the ones joined by a single hyphen, or
// not parted at all ("3х"), taken as one: "жили-были" is one word of two parts.
QList<QList<SpellChecker::Word>> joinedWords(const QString &text)
{
    QList<QList<SpellChecker::Word>> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    int start = -1;
    int lastEnd = -2;
    for (qsizetype at = 0; at != -1; at = finder.toNextBoundary()) {
        const auto reasons = finder.boundaryReasons();
        if ((reasons & QTextBoundaryFinder::EndOfItem) && start >= 0) {
            const SpellChecker::Word part { start, int(at) - start };
            const bool joined
                = start == lastEnd || (start == lastEnd + 1 && isHyphen(text[lastEnd]));
            if (!words.isEmpty() && joined)
                words.last() << part;
            else
                words << QList<SpellChecker::Word> { part };
            lastEnd = int(at);
            start = -1;
        }
        if (reasons & QTextBoundaryFinder::StartOfItem)
            start = int(at);
    }
    return words;
}

} // namespace

SpellChecker::SpellChecker(std::unique_ptr<Dictionary> dictionary)
    : m_dictionary(std::move(dictionary))
{
}

SpellChecker::SpellChecker()
    : SpellChecker(std::make_unique<Dictionary>())
{
}

SpellChecker::~SpellChecker() = default;

QString SpellChecker::unavailableReason() const
{
    return m_dictionary->unavailableReason();
}

bool SpellChecker::isKnown(const QString &word)
{
    const QString plain = withoutYo(word);
    if (m_skipped.contains(plain.toLower()))
        return true;
    const auto asked = m_known.constFind(word);
    if (asked != m_known.cend())
        return *asked;
    const bool known = m_dictionary->knows(word) || m_dictionary->knows(plain);
    m_known.insert(word, known);
    return known;
}

QList<SpellChecker::Word> SpellChecker::misspelt(const QString &text)
{
    QList<Word> found;
    if (!m_on || !unavailableReason().isEmpty())
        return found;
    for (const QList<Word> &parts : joinedWords(text)) {
        const int end = parts.last().start + parts.last().length;
        if (leftAlone(text.mid(parts.first().start, end - parts.first().start)))
            continue;
        for (const Word &part : parts) {
            const QString word = text.mid(part.start, part.length);
            if (!inCapitals(word) && !isKnown(word))
                found << part;
        }
    }
    return found;
}

std::optional<SpellChecker::Word> SpellChecker::misspeltAt(const QString &text, int position)
{
    for (const Word &word : misspelt(text)) {
        if (position >= word.start && position <= word.start + word.length)
            return word;
    }
    return std::nullopt;
}

QStringList SpellChecker::suggestions(const QString &word)
{
    return m_dictionary->suggestions(word, MostSuggestions);
}

void SpellChecker::skip(const QString &word)
{
    m_skipped.insert(withoutYo(word).toLower());
}
