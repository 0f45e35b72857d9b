#include "spelling/SchoolMistakes.h"

#include <QStringView>

#include <algorithm>
#include <iterator>

namespace SchoolMistakes {

namespace {

bool among(QChar c, QStringView letters)
{
    return !c.isNull() && letters.contains(c);
}

bool isConsonant(QChar c)
{
    return c.isLetter() && !isVowel(c) && c != u'ь' && c != u'ъ';
}

// A vowel heard unstressed is written as another: the likeliest first.
struct Swap {
    QChar from;
    QStringView to;
    double cost;
};
constexpr Swap VowelSwaps[] = {
    { u'о', u"а", 0.8 }, { u'а', u"о", 0.8 }, { u'е', u"и", 0.8 }, { u'и', u"е", 0.8 },
    { u'я', u"е", 0.9 }, { u'е', u"я", 0.9 }, { u'я', u"и", 1.0 }, { u'и', u"я", 1.0 },
    { u'ё', u"е", 0.4 }, // «ё» where «е» is written
};

// The voiced consonant and its voiceless pair, heard alike at a word's end
// and before another consonant.
constexpr QStringView Paired[] = { u"бп", u"вф", u"гк", u"дт", u"жш", u"зс" };

// Consonants written but not heard, as in «солнце», and heard where none is
// written, as in «опастный».
struct Replace {
    QStringView from;
    QStringView to;
    double cost;
};
constexpr Replace Unpronounced[] = {
    { u"сн", u"стн", 0.8 },
    { u"зн", u"здн", 0.8 },
    { u"ств", u"вств", 0.8 },
    { u"онц", u"олнц", 0.8 },
    { u"онеч", u"олнеч", 0.8 },
    { u"рц", u"рдц", 0.8 },
    { u"сл", u"стл", 0.8 },
    { u"нск", u"нтск", 0.8 },
    { u"стн", u"сн", 0.8 },
    { u"здн", u"зн", 0.9 },
    { u"вств", u"ств", 0.8 },
};

// Prefixes that end in «з» before a voiced consonant and in «с» before a
// voiceless one.
constexpr QStringView PrefixesWithZ[]
    = { u"раз", u"роз", u"из", u"без", u"воз", u"вз", u"низ", u"через" };

// A word's end, or the soft sign that ends it, or a consonant that a voiced
// one is heard voiceless before.
bool voicingHeardLost(const QString &word, qsizetype at)
{
    qsizetype next = at + 1;
    if (next < word.size() && word[next] == u'ь')
        ++next;
    return next >= word.size() || (isConsonant(word[next]) && !among(word[next], u"лмнрйв"));
}

// «-ий», «-ый», «-ая», «-ое» and the like end the word there: «осенний»,
// «длинный», «стеклянный» double their «н» before it.
bool adjectiveEnding(const QString &word, qsizetype at)
{
    return word.size() - at == 2 && isVowel(word[at]) && among(word.back(), u"йяеюаоу");
}

class Mender {
public:
    Mender(const QString &word, double most)
        : m_word(word)
        , m_most(most)
    {
    }

    void put(qsizetype at, qsizetype length, QStringView with, double cost)
    {
        if (cost > m_most)
            return;
        QString mended;
        mended.reserve(m_word.size() + with.size());
        mended.append(QStringView(m_word).left(at)).append(with);
        mended.append(QStringView(m_word).mid(at + length));
        m_mends << Mend { mended, cost };
    }

    QList<Mend> m_mends;

private:
    const QString &m_word;
    double m_most;
};

void vowels(const QString &w, qsizetype i, Mender &m)
{
    const QChar c = w[i];
    const QChar before = i > 0 ? w[i - 1] : QChar();
    for (const Swap &swap : VowelSwaps) {
        if (c == swap.from)
            m.put(i, 1, swap.to, swap.cost);
    }
    // жи–ши, ча–ща, чу–щу
    if (c == u'ы' && among(before, u"жш"))
        m.put(i, 1, u"и", 0.2);
    if (c == u'я' && among(before, u"чщ"))
        m.put(i, 1, u"а", 0.2);
    if (c == u'ю' && among(before, u"чщ"))
        m.put(i, 1, u"у", 0.2);
    // «часы» heard as «чисы»
    if (among(c, u"еи") && among(before, u"чщ"))
        m.put(i, 1, u"а", 0.8);
    // «шёл» written as heard, «шол»; and «девчонка» as «девчёнка»
    if (c == u'о' && among(before, u"жшчщ"))
        m.put(i, 1, u"ё", 0.6);
    if (c == u'ё' && among(before, u"жшчщ"))
        m.put(i, 1, u"о", 0.8);
    // «цирк», «огурцы»
    if (c == u'ы' && before == u'ц')
        m.put(i, 1, u"и", 0.6);
    if (c == u'и' && before == u'ц')
        m.put(i, 1, u"ы", 0.6);
}

void consonants(const QString &w, qsizetype i, Mender &m)
{
    const QChar c = w[i];
    const QChar before = i > 0 ? w[i - 1] : QChar();
    const QChar after = i + 1 < w.size() ? w[i + 1] : QChar();
    for (QStringView pair : Paired) {
        if (const qsizetype at = pair.indexOf(c); at >= 0)
            m.put(i, 1, pair.mid(1 - at, 1), voicingHeardLost(w, i) ? 0.7 : 1.2);
    }
    // -ого and -его are said with «в»
    if (c == u'в' && among(before, u"ое") && after == u'о')
        m.put(i, 1, u"г", i + 2 == w.size() ? 0.5 : 0.9);
    // «счастье» heard as «щастье», «извозчик» as «извощик»
    if (c == u'щ') {
        m.put(i, 1, u"сч", 0.7);
        m.put(i, 1, u"зч", 0.9);
        if (among(before, u"зс"))
            m.put(i, 1, u"ч", 0.6);
    }
    // «детский» heard as «децкий», «двадцать» as «двацать»
    if (c == u'ц') {
        if (after == u'к') {
            m.put(i, 1, u"тс", 0.7);
            m.put(i, 1, u"дс", 0.7);
        }
        m.put(i, 1, u"дц", 0.8);
    }
    // Doubled consonants: one missing; one too many is undone below, with
    // any letter doubled by a slip.
    if (isConsonant(c) && c != u'й' && after != c && before != c)
        m.put(i, 0, QStringView(&c, 1), c == u'н' && adjectiveEnding(w, i + 1) ? 0.6 : 0.9);
    if (after == c)
        m.put(i, 1, {}, 0.8);
    // A soft or hard sign forgotten: at the end («ночь», «читаешь»), in the
    // middle («письмо»), before «е», «ё», «ю», «я» («вьюга», «подъезд»).
    if (isConsonant(c) && !among(c, u"йц") && !among(after, u"ьъ")) {
        double soft = 0.9;
        if (after.isNull())
            soft = among(c, u"жшчщ") ? 0.6 : 0.75;
        else if (among(after, u"еёюяи"))
            soft = 0.8;
        m.put(i + 1, 0, u"ь", soft);
        if (among(after, u"еёюя") && among(c, u"бвдзст"))
            m.put(i + 1, 0, u"ъ", 0.8);
    }
}

void signs(const QString &w, qsizetype i, Mender &m)
{
    const QChar c = w[i];
    const QChar before = i > 0 ? w[i - 1] : QChar();
    const QChar after = i + 1 < w.size() ? w[i + 1] : QChar();
    if (c == u'ь') {
        double cost = 0.9;
        if (before == u'ч' && among(after, u"кн"))
            cost = 0.3; // чк, чн
        else if (after.isNull() && among(before, u"жшчщ"))
            cost = 0.6; // «ключ», «товарищ»
        m.put(i, 1, {}, cost);
        m.put(i, 1, u"ъ", 0.5);
    }
    if (c == u'ъ') {
        m.put(i, 1, {}, 0.9);
        m.put(i, 1, u"ь", 0.5);
    }
}

void endings(const QString &w, Mender &m)
{
    const qsizetype n = w.size();
    if (w.endsWith(u"ться"))
        m.put(n - 4, 4, u"тся", 0.4);
    else if (w.endsWith(u"тся"))
        m.put(n - 3, 3, u"ться", 0.4);
    else if (w.endsWith(u"тса")) {
        m.put(n - 3, 3, u"тся", 0.5);
        m.put(n - 3, 3, u"ться", 0.55);
    } else if (w.endsWith(u"ца")) {
        m.put(n - 2, 2, u"тся", 0.6);
        m.put(n - 2, 2, u"ться", 0.65);
    }
}

void prefixes(const QString &w, Mender &m)
{
    if (w.startsWith(u"пре"))
        m.put(0, 3, u"при", 0.6);
    else if (w.startsWith(u"при"))
        m.put(0, 3, u"пре", 0.6);
    for (QStringView prefix : PrefixesWithZ) {
        if (w.size() > prefix.size() + 1 && w.startsWith(prefix))
            m.put(prefix.size() - 1, 1, u"с", 0.5);
        const QString withS = prefix.chopped(1).toString() + u'с';
        if (w.size() > withS.size() + 1 && w.startsWith(withS))
            m.put(withS.size() - 1, 1, u"з", 0.5);
    }
}

} // namespace

bool isVowel(QChar small)
{
    return among(small, u"аеёиоуыэюя");
}

QList<Mend> mends(const QString &w, double most)
{
    Mender m(w, most);
    for (qsizetype i = 0; i < w.size(); ++i) {
        vowels(w, i, m);
        consonants(w, i, m);
        signs(w, i, m);
        // Two letters swapped by a slip
        if (i + 1 < w.size() && w[i] != w[i + 1])
            m.put(i, 2, QString(w[i + 1]) + w[i], 1.0);
    }
    for (const Replace &r : Unpronounced) {
        for (qsizetype at = w.indexOf(r.from); at >= 0; at = w.indexOf(r.from, at + 1))
            m.put(at, r.from.size(), r.to, r.cost);
    }
    endings(w, m);
    prefixes(w, m);
    return m.m_mends;
}

QList<Mend> partings(const QString &w)
{
    static constexpr QStringView Before[]
        = { u"в", u"во", u"на", u"за", u"по", u"под", u"над", u"из", u"от", u"до", u"у", u"о",
              u"об", u"к", u"ко", u"с", u"со", u"без", u"про", u"при", u"для" };
    static constexpr QStringView Questions[] = { u"кто", u"что", u"где", u"когда", u"куда",
        u"откуда", u"как", u"чей", u"чь", u"почему", u"зачем", u"сколько", u"кого", u"кому", u"кем",
        u"чего", u"чему", u"чем", u"ком", u"чём" };
    const auto question = [](QStringView word) {
        return std::any_of(std::begin(Questions), std::end(Questions),
            [word](QStringView start) { return word.startsWith(start); });
    };
    QList<Mend> found;
    if (w.startsWith(u"не") && w.size() > 3)
        found << Mend { QStringLiteral("не ") + w.mid(2), 0.5 };
    // A one-letter preposition runs into a word that starts with a
    // consonant («вшколу»); before a vowel it reads as the word's own
    // letter («сабака» is no «с абака»). «во», «ко», «со» come before two
    // consonants («со мной»).
    for (QStringView word : Before) {
        const qsizetype rest = word.size();
        if (w.size() > rest + 1 && w.startsWith(word) && (rest > 1 || isConsonant(w[1]))
            && (!word.endsWith(u'о') || !among(word[0], u"вкс")
                || (isConsonant(w[rest]) && isConsonant(w[rest + 1]))))
            found << Mend { word.toString() + u' ' + w.mid(word.size()), 1.0 };
    }
    if (w == QStringView(u"изпод") || w == QStringView(u"изза"))
        found << Mend { QStringLiteral("из-") + w.mid(2), 0.3 };
    // «кто-то», «где-нибудь», «кое-что», «всё-таки» without their hyphen
    for (QStringView particle : { u"то", u"либо", u"нибудь" }) {
        if (w.endsWith(particle) && question(QStringView(w).chopped(particle.size())))
            found << Mend { w.chopped(particle.size()) + u'-' + particle.toString(), 0.5 };
    }
    if (w.startsWith(u"кое") && question(QStringView(w).mid(3)))
        found << Mend { QStringLiteral("кое-") + w.mid(3), 0.5 };
    if (w == QStringView(u"всётаки") || w == QStringView(u"всетаки"))
        found << Mend { w.chopped(4) + QStringLiteral("-таки"), 0.5 };
    return found;
}

} // namespace SchoolMistakes
