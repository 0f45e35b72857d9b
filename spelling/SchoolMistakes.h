#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The mistakes that the school's spelling rules name, each undone once: for
// a word in small letters, the strings one such mistake away, with a cost
// that is lower the likelier the mistake. Whether a string is a word is the
// dictionary's to say.
namespace SchoolMistakes {

struct Mend {
    QString word;
    double cost = 0;
};

// The small letters of the alphabet, and which of them are vowels.
constexpr QStringView Alphabet = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
bool isVowel(QChar small);

// Unstressed vowels, paired and unpronounced consonants, doubled ones, жи–ши
// and its kin, ь and ъ, -тся and -ться, prefixes, and slips of the hand.
// Only those that cost at most `most`.
QList<Mend> mends(const QString &word, double most);

// Two words run together as pupils run them: «не» or a preposition before a
// word, «кое-» or «-то» without their hyphen. Each part must be a word.
QList<Mend> partings(const QString &word);

} // namespace SchoolMistakes
