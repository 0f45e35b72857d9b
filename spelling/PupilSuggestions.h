#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What to write instead of a misspelt word, ranked for a pupil, who takes
// the first word offered. First the words that undo the mistakes the school
// rules name (SchoolMistakes), the fewest and likeliest changes first; then
// the words one slip of any letter away; only where neither finds a word,
// the dictionary's own guesses, which take it a good while. Every word
// offered is one the dictionary knows. The word keeps its capital, its
// stress marks and, where Latin letters stood in for Cyrillic ones, becomes
// all Cyrillic.
class PupilSuggestions {
public:
    using Knows = std::function<bool(const QString &)>;
    using Guesses = std::function<QStringList(const QString &)>;

    // A longer word is no word a pupil meant: nothing is offered for it,
    // and the program's word list lends none to the dictionary.
    static constexpr int LongestWord = 40;

    PupilSuggestions(Knows knows, Guesses guesses);

    QStringList forWord(const QString &typed, int most) const;

    // The word with Latin letters that look Cyrillic made Cyrillic.
    static QString cyrillicLookalikes(const QString &word);

private:
    Knows m_knows;
    Guesses m_guesses;
};
