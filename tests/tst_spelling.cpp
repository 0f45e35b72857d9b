#include "spelling/Dictionary.h"
#include "spelling/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The program's word list from the source; under Wine, the folder that the
// Windows build ships, given in TROPINETS_SPELLING_FOLDER.
QStringList testFolders()
{
    const QString shipped = qEnvironmentVariable("TROPINETS_SPELLING_FOLDER");
    if (!shipped.isEmpty())
        return { shipped };
    return QStringList { QStringLiteral(TROPINETS_SOURCE_DIR "/spelling") }
    + Dictionary::defaultFolders();
}

QString sourceText(const QString &path)
{
    QFile file(QStringLiteral(TROPINETS_SOURCE_DIR "/") + path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList misspeltWords(SpellChecker &checker, const QString &text)
{
    QStringList words;
    for (const SpellChecker::Word &word : checker.misspelt(text))
        words << text.mid(word.start, word.length);
    return words;
}

} // namespace

class tst_Spelling : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void rules_data();
    void rules();
    void pupilsCorpus();
    void dictionaryInItsOwnEncoding();
    void noDictionary();

private:
    SpellChecker m_checker { std::make_unique<Dictionary>(testFolders()) };
};

void tst_Spelling::initTestCase()
{
#ifndef TROPINETS_WITH_SPELLING
    QSKIP("built without Hunspell");
#endif
    if (const QString shipped = qEnvironmentVariable("TROPINETS_SPELLING_FOLDER");
        !shipped.isEmpty()) {
        for (const char *name : { "ru_RU.aff", "ru_RU.dic", Dictionary::WordListName })
            QVERIFY2(QDir(shipped).exists(QLatin1String(name)), name);
    }
    if (!m_checker.unavailableReason().isEmpty())
        QSKIP(qPrintable(m_checker.unavailableReason()));
}

void tst_Spelling::rules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("misspelt");
    QTest::addColumn<QString>("firstSuggestion"); // of the first misspelt word
    QTest::addColumn<QString>("skipped"); // for the rest of the run

    QTest::newRow("a misprint") << "Расказ" << QStringList { "Расказ" } << "Рассказ" << QString();
    QTest::newRow("in a sentence")
        << "Жила-была лиса. Расказ про неё." << QStringList { "Расказ" } << "Рассказ" << QString();
    QTest::newRow("ё as е") << "ёжик, ежик, Ёжик" << QStringList() << QString() << QString();
    QTest::newRow("hyphenated") << "жили-были" << QStringList() << QString() << QString();
    QTest::newRow("hyphenated, part by part")
        << "жили-билы" << QStringList { "билы" } << QString() << QString();
    QTest::newRow("capitals") << "ЛИСА ЛСИА" << QStringList() << QString() << QString();
    QTest::newRow("Latin") << "Wi-Fi, Teh" << QStringList() << QString() << QString();
    QTest::newRow("numbers") << "2024 5-ый 3х" << QStringList() << QString() << QString();
    QTest::newRow("other alphabets") << "αλεπού" << QStringList() << QString() << QString();
    QTest::newRow("skipped") << "расказ Пошол" << QStringList { "Пошол" } << QString() << "Расказ";
    QTest::newRow("stress marks") << "мука́, за́мок" << QStringList() << QString() << QString();
    QTest::newRow("stress mark kept")
        << "саба́ка" << QStringList { "саба́ка" } << "соба́ка" << QString();
    QTest::newRow("ё where е is written")
        << "вёсна" << QStringList { "вёсна" } << "весна" << QString();
    QTest::newRow("a Latin c among Cyrillic letters")
        << "cобака" << QStringList { "cобака" } << "собака" << QString();
    QTest::newRow("the program's word list")
        << "Тузик, Барсика, Буратино" << QStringList() << QString() << QString();
    QTest::newRow("a name in small letters")
        << "тузик" << QStringList { "тузик" } << "Тузик" << QString();
}

void tst_Spelling::rules()
{
    QFETCH(QString, text);
    QFETCH(QStringList, misspelt);
    QFETCH(QString, firstSuggestion);
    QFETCH(QString, skipped);
    if (!skipped.isEmpty())
        m_checker.skip(skipped);
    QCOMPARE(misspeltWords(m_checker, text), misspelt);
    if (!firstSuggestion.isEmpty()) {
        const QStringList suggested = m_checker.suggestions(misspelt.constFirst());
        QVERIFY(suggested.size() <= SpellChecker::MostSuggestions);
        QCOMPARE(suggested.value(0), firstSuggestion);
    }
}

void tst_Spelling::pupilsCorpus()
{
    // Of its own: the rules above skip a word for the rest of the run.
    SpellChecker checker(std::make_unique<Dictionary>(testFolders()));
    int pairs = 0;
    int first = 0;
    int listed = 0;
    QStringList wrong;
    const QStringList lines
        = sourceText(QStringLiteral("tests/spelling/misspellings.tsv")).split(u'\n');
    for (const QString &line : lines) {
        const QStringList pair = line.split(u'\t');
        if (line.startsWith(u'#') || pair.size() != 2)
            continue;
        ++pairs;
        const QString &typed = pair[0];
        QCOMPARE(misspeltWords(checker, typed), QStringList { typed });
        const QStringList offered = checker.suggestions(typed);
        QVERIFY(offered.size() <= SpellChecker::MostSuggestions);
        for (const QString &word : offered) {
            QVERIFY2(checker.misspelt(word).isEmpty(), qPrintable(word));
            QVERIFY(word.at(0).isUpper() || !typed.at(0).isUpper());
            QVERIFY2(!word.contains(u' ') || pair[1].contains(u' '), qPrintable(word));
        }
        const auto meant = [&pair](const QString &word) {
            return word == pair[1] || word == QString(pair[1]).replace(u'ё', u'е');
        };
        first += meant(offered.value(0));
        listed += std::any_of(offered.begin(), offered.end(), meant);
        if (!meant(offered.value(0)))
            wrong << typed + QStringLiteral(": ") + offered.join(QStringLiteral(", "));
    }
    const QString prose = sourceText(QStringLiteral("tests/spelling/prose.txt"));
    qsizetype words = 0;
    for (auto word = QRegularExpression(QStringLiteral("\\p{L}+")).globalMatch(prose);
         word.hasNext(); word.next())
        ++words;
    const QStringList underlined = misspeltWords(checker, prose);
    qInfo("%d misspellings: the first suggestion right for %.1f %%, the word meant among them "
          "for %.1f %%; %lld words of correct prose, %.2f %% of them underlined%s",
        pairs, 100.0 * first / pairs, 100.0 * listed / pairs, qlonglong(words),
        100.0 * underlined.size() / words, qPrintable(underlined.join(QStringLiteral(", "))));
    QVERIFY(pairs >= 200 && words >= 1000);
    QVERIFY2(first >= 0.85 * pairs, qPrintable(wrong.join(u'\n')));
    QVERIFY2(listed >= 0.95 * pairs, qPrintable(wrong.join(u'\n')));
    QVERIFY2(underlined.size() <= 0.01 * words, qPrintable(underlined.join(u' ')));
}

void tst_Spelling::dictionaryInItsOwnEncoding()
{
    // A dictionary of the old kind: KOI8-R, and «е» where «ё» is written.
    QTemporaryDir folder;
    QStringEncoder koi8("KOI8-R");
    if (!koi8.isValid())
        QSKIP("this Qt has no KOI8-R (built without ICU, as for Windows)");
    QFile affix(folder.filePath(QStringLiteral("ru_RU.aff")));
    QFile words(folder.filePath(QStringLiteral("ru_RU.dic")));
    QVERIFY(affix.open(QIODevice::WriteOnly) && words.open(QIODevice::WriteOnly));
    affix.write(QByteArray(koi8(QStringLiteral("SET KOI8-R\nTRY аилс\n"))));
    words.write(QByteArray(koi8(QStringLiteral("2\nлиса\nежик\n"))));
    affix.close();
    words.close();

    // The word list, read as any file: a folder of its name is passed over,
    // and so is every line that is not a word the dictionary can hold.
    QTemporaryDir lists;
    QVERIFY(QDir(lists.path()).mkpath(QStringLiteral("a/") + Dictionary::WordListName));
    QVERIFY(QDir(lists.path()).mkpath(QStringLiteral("b")));
    QFile list(lists.filePath(QStringLiteral("b/") + Dictionary::WordListName));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(QStringLiteral("# лисы\nТузик лиса\nБарсик\nтри слова тут\nЇжак\n").toUtf8()
        + QByteArray("\xff\xfe\0\n", 4) + QStringLiteral("Мурка\n").repeated(50000).toUtf8());
    list.close();

    SpellChecker checker(std::make_unique<Dictionary>(QStringList {
        lists.filePath(QStringLiteral("a")), lists.filePath(QStringLiteral("b")), folder.path() }));
    QVERIFY(checker.unavailableReason().isEmpty());
    QCOMPARE(misspeltWords(checker, QStringLiteral("лиса ёжик лсиа лисї Тузик Барсик три Їжак")),
        QStringList({ "лсиа", "лисї", "три", "Їжак" })); // no «ї» in KOI8-R
    QCOMPARE(checker.suggestions(QStringLiteral("лсиа")), QStringList { "лиса" });
}

void tst_Spelling::noDictionary()
{
    QTemporaryDir empty;
    SpellChecker checker(std::make_unique<Dictionary>(QStringList { empty.path() }));
    QVERIFY2(checker.unavailableReason().contains(QDir::toNativeSeparators(empty.path())),
        qPrintable(checker.unavailableReason()));
    QVERIFY(checker.misspelt(QStringLiteral("Расказ")).isEmpty());
    QVERIFY(checker.suggestions(QStringLiteral("Расказ")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Spelling)
#include "tst_spelling.moc"
