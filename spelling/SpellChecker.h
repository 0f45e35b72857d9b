#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>

class Dictionary;

// Russian spelling for one run: which words of a text the dictionary does
// not know, what it would write instead, and the words the pupil said to
// skip. On at start; turned off, it finds nothing. Nothing is stored.
class SpellChecker {
public:
    // At most this many suggestions are offered for a word.
    static constexpr int MostSuggestions = 5;

    struct Word {
        int start = 0;
        int length = 0;
    };

    explicit SpellChecker(std::unique_ptr<Dictionary> dictionary);
    SpellChecker();
    ~SpellChecker();

    // Empty when spelling can be checked; otherwise why not.
    QString unavailableReason() const;

    bool isOn() const { return m_on; }
    void setOn(bool on) { m_on = on; }

    // The misspelt words of the text, in order. «е» may stand for «ё», not
    // «ё» for «е»; stress marks are no letters; a hyphenated word is checked
    // part by part; a word that mixes Latin letters with Cyrillic ones is
    // misspelt. Latin words, words with a digit, words in capitals and
    // words of other alphabets are left alone.
    QList<Word> misspelt(const QString &text);
    // The misspelt word at a place of the text, if there is one.
    std::optional<Word> misspeltAt(const QString &text, int position);

    // What to write instead, the likeliest first (see PupilSuggestions);
    // asked only when needed, as it takes a while.
    QStringList suggestions(const QString &word);
    // The word, with any «ё» as «е», is known for the rest of the run.
    void skip(const QString &word);

private:
    bool isKnown(const QString &word);
    // Whether the dictionary knows the word as it is written.
    bool knows(const QString &word);

    std::unique_ptr<Dictionary> m_dictionary;
    QHash<QString, bool> m_known; // asked before: each word costs the dictionary a search
    QSet<QString> m_skipped;
    std::optional<bool> m_dictionaryWritesYo; // asked when first needed
    bool m_on = true;
};
