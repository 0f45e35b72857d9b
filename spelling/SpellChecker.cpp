#include "spelling/SpellChecker.h"

#include "spelling/Dictionary.h"
#include "spelling/PupilSuggestions.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

bool isHyphen(QChar c)
{
    return c == u'-' || c == u'\u2010' || c == u'\u2011';
}

// A word skipped is skipped with «ё» or «е»; an old dictionary writes «е» for both.
QString withoutYo(QString word)
{
    word.replace(u'ё', u'е');
    word.replace(u'Ё', u'Е');
    return word;
}

bool isLatin(QChar c)
{
    return c.isLetter() && c.script() == QChar::Script_Latin;
}

bool isCyrillic(QChar c)
{
    return c.isLetter() && c.script() == QChar::Script_Cyrillic;
}

// The checker reads Russian words, and Latin letters that pass for Cyrillic
// ones in them; a word with a digit or a letter of another alphabet is
// left alone.
bool leftAlone(const QString &word)
{
    return std::any_of(word.begin(), word.end(),
        [](QChar c) { return c.isNumber() || (c.isLetter() && !isCyrillic(c) && !isLatin(c)); });
}

// A stress mark, as in «за́мок», is no letter of the word.
QString withoutStress(QString word)
{
    return word.remove(u'\u0301');
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
    const QString plain = withoutStress(word);
    if (m_skipped.contains(withoutYo(plain).toLower()))
        return true;
    const auto asked = m_known.constFind(word);
    if (asked != m_known.cend())
        return *asked;
    const bool known = knows(plain);
    m_known.insert(word, known);
    return known;
}

bool SpellChecker::knows(const QString &word)
{
    if (m_dictionary->knows(word))
        return true;
    if (!word.contains(u'ё') && !word.contains(u'Ё'))
        return false;
    // «ё» where only «е» is written is a mistake, unless the dictionary is
    // of the old kind, which writes «е» for both.
    if (!m_dictionaryWritesYo)
        m_dictionaryWritesYo = m_dictionary->knows(QStringLiteral("ещё"));
    return !*m_dictionaryWritesYo && m_dictionary->knows(withoutYo(word));
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
            const bool latin = std::any_of(word.begin(), word.end(), isLatin);
            // Latin letters among Cyrillic ones look right and are not.
            if (latin ? std::any_of(word.begin(), word.end(), isCyrillic)
                      : !inCapitals(word) && !isKnown(word))
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
    if (!unavailableReason().isEmpty())
        return {};
    const PupilSuggestions suggestions(
        [this](const QString &candidate) { return knows(candidate); },
        [this](const QString &typed) { return m_dictionary->suggestions(typed, MostSuggestions); });
    return suggestions.forWord(word, MostSuggestions);
}

void SpellChecker::skip(const QString &word)
{
    m_skipped.insert(withoutYo(withoutStress(word)).toLower());
}
