#include "spelling/PupilSuggestions.h"

#include "spelling/SchoolMistakes.h"

#include <QHash>

#include <algorithm>
#include <queue>
#include <vector>

namespace {

constexpr QChar StressMark = u'\u0301';
// Beyond three changes, or mistakes this unlikely, a pupil meant another word.
constexpr int MostChanges = 3;
constexpr double MostCost = 2.6;
// Words much costlier than the best one found are not looked for.
constexpr double Slack = 1.0;
// Each costs the dictionary a look-up: enough for a long word, and a bound
// for any.
constexpr int MostLookups = 1500;
// A word typed in small letters that the dictionary knows with a capital,
// a name, comes after the words one mistake away.
constexpr double Capital = 1.1;
// Words one slip of any letter away come after every rule's.
constexpr double AnySlip = 10;

struct Found {
    QString word;
    double cost;
};

QString capitalized(const QString &word)
{
    return word.left(1).toUpper() + word.mid(1);
}

bool isVowel(QChar c)
{
    return SchoolMistakes::isVowel(c.toLower());
}

// After which vowels, counted from one, a stress mark stands.
QList<int> stressedVowels(const QString &typed)
{
    QList<int> stressed;
    int vowels = 0;
    for (QChar c : typed) {
        if (isVowel(c))
            ++vowels;
        else if (c == StressMark && vowels > 0)
            stressed << vowels;
    }
    return stressed;
}

QString withStress(QString word, const QList<int> &stressed)
{
    int vowels = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (isVowel(word[i]) && stressed.contains(++vowels))
            word.insert(++i, StressMark);
    }
    return word;
}

// The words the pupil may have meant, cheapest first.
class Search {
public:
    Search(const PupilSuggestions::Knows &knows, bool capital)
        : m_knows(knows)
        , m_capital(capital)
    {
    }

    // Keeps the word, with the pupil's capital, if the dictionary knows it.
    bool take(const QString &word, double cost)
    {
        ++m_lookups;
        const QString written = m_capital ? capitalized(word) : word;
        if (!known(written))
            return false;
        m_found << Found { written, cost };
        return true;
    }

    void byRules(const QString &start, int most);
    void bySlips(const QString &word);

    QList<Found> m_found;
    int m_lookups = 0;

private:
    // A word of parts, such as «не умею», is known if every part is.
    bool known(const QString &word) const
    {
        if (!word.contains(u' ') && !word.contains(u'-'))
            return m_knows(word);
        QString parts = word;
        parts.replace(u'-', u' ');
        const QStringList each = parts.split(u' ');
        return std::all_of(each.begin(), each.end(), m_knows);
    }

    const PupilSuggestions::Knows &m_knows;
    bool m_capital;
};

void Search::byRules(const QString &start, int most)
{
    struct Step {
        double cost;
        int changes;
        qint64 order;
        QString word;
    };
    const auto later = [](const Step &a, const Step &b) {
        return a.cost != b.cost ? a.cost > b.cost : a.order > b.order;
    };
    std::priority_queue<Step, std::vector<Step>, decltype(later)> queue(later);
    QHash<QString, double> cheapest { { start, 0.0 } };
    cheapest.reserve(MostLookups * 8);
    qint64 order = 0;
    queue.push({ 0.0, 0, order++, start });
    while (!queue.empty() && m_lookups < MostLookups) {
        const Step step = queue.top();
        queue.pop();
        if (cheapest.value(step.word) < step.cost)
            continue;
        if (!m_found.isEmpty()
            && (step.cost > m_found.constFirst().cost + Slack
                || (m_found.size() >= most && step.cost > m_found.constLast().cost)))
            break;
        const bool taken = take(step.word, step.cost);
        if (!taken && step.changes == 0 && !m_capital && known(capitalized(step.word)))
            m_found << Found { capitalized(step.word), Capital };
        if (taken || step.changes == MostChanges || step.word.contains(u' ')
            || step.word.contains(u'-'))
            continue;
        // Only the word as typed is parted: «не зною» mends nothing.
        for (const auto &mends : { SchoolMistakes::mends(step.word, MostCost - step.cost),
                 step.changes == 0 ? SchoolMistakes::partings(step.word)
                                   : QList<SchoolMistakes::Mend>() }) {
            for (const SchoolMistakes::Mend &mend : mends) {
                const double cost = step.cost + mend.cost;
                const auto seen = cheapest.constFind(mend.word);
                if (cost > MostCost || (seen != cheapest.cend() && *seen <= cost))
                    continue;
                cheapest.insert(mend.word, cost);
                queue.push({ cost, step.changes + 1, order++, mend.word });
            }
        }
    }
}

// One letter left out, one too many, one wrong, two swapped: the dictionary's
// own first guesses, made here, where they cost a look-up each.
void Search::bySlips(const QString &word)
{
    QStringList slips;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        if (i < word.size())
            slips << QString(word).remove(i, 1);
        if (i + 1 < word.size())
            slips << word.left(i) + word[i + 1] + word[i] + word.mid(i + 2);
        for (QChar letter : SchoolMistakes::Alphabet) {
            if (i < word.size() && letter != word[i])
                slips << QString(word).replace(i, 1, letter);
            slips << QString(word).insert(i, letter);
        }
    }
    for (const QString &slip : slips)
        take(slip, AnySlip);
}

} // namespace

PupilSuggestions::PupilSuggestions(Knows knows, Guesses guesses)
    : m_knows(std::move(knows))
    , m_guesses(std::move(guesses))
{
}

QString PupilSuggestions::cyrillicLookalikes(const QString &word)
{
    static const QStringView Latin = u"aceopxykABCEHKMOPTXY";
    static const QStringView Cyrillic = u"асеорхукАВСЕНКМОРТХУ";
    QString cyrillic = word;
    for (QChar &c : cyrillic) {
        if (const qsizetype at = Latin.indexOf(c); at >= 0)
            c = Cyrillic[at];
    }
    return cyrillic;
}

QStringList PupilSuggestions::forWord(const QString &typed, int most) const
{
    if (typed.isEmpty() || typed.size() > LongestWord)
        return {};
    const QList<int> stressed = stressedVowels(typed);
    const QString plain = cyrillicLookalikes(QString(typed).remove(StressMark));
    const QString small = plain.toLower();
    Search search(m_knows, plain.at(0).isUpper());
    search.byRules(small, most);
    QList<Found> &found = search.m_found;
    std::stable_sort(
        found.begin(), found.end(), [](const Found &a, const Found &b) { return a.cost < b.cost; });
    // Two words run together are parted only where no one word mends the
    // mistake as cheaply: «сказка» for «скаска», never «с каска».
    const auto parted
        = [](const Found &f) { return f.word.contains(u' ') || f.word.contains(u'-'); };
    if (const auto single = std::find_if_not(found.cbegin(), found.cend(), parted);
        single != found.cend()) {
        const double cheapest = single->cost;
        found.removeIf([&](const Found &f) { return parted(f) && f.cost >= cheapest; });
    }
    if (found.size() < most)
        search.bySlips(small);
    QStringList words;
    for (const Found &each : std::as_const(found)) {
        if (!words.contains(each.word))
            words << each.word;
    }
    // Only where nothing was found: the dictionary's guesses take it longer
    // than all of the above. Never a word parted where no rule parts it.
    if (words.isEmpty()) {
        for (const QString &guess : m_guesses(plain)) {
            if (!guess.contains(u' ') && (!guess.contains(u'-') || plain.contains(u'-')))
                words << guess;
        }
    }
    words = words.mid(0, most);
    for (QString &word : words)
        word = withStress(word, stressed);
    return words;
}
