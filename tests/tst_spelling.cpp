#include "spelling/Dictionary.h"
#include "spelling/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

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
    void dictionaryInItsOwnEncoding();
    void noDictionary();

private:
    SpellChecker m_checker;
};

void tst_Spelling::initTestCase()
{
#ifndef TROPINETS_WITH_SPELLING
    QSKIP("built without Hunspell");
#endif
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

    SpellChecker checker(std::make_unique<Dictionary>(QStringList { folder.path() }));
    QVERIFY(checker.unavailableReason().isEmpty());
    QCOMPARE(misspeltWords(checker, QStringLiteral("лиса ёжик лсиа лисї")),
        QStringList({ "лсиа", "лисї" })); // no «ї» in KOI8-R
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
