#include "BenchSupport.h"
#include "spelling/Dictionary.h"
#include "spelling/SpellChecker.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

// The suggestions for one misspelt word, as the box's menu asks for them,
// against Hunspell's own suggest for the same word: the words the issue
// named, then the pupils' corpus of the spelling test, a word each pair.

namespace {

QStringList corpusWords()
{
    QFile file(QStringLiteral(TROPINETS_SOURCE_DIR "/tests/spelling/misspellings.tsv"));
    QStringList words;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
            if (!line.startsWith(u'#') && line.contains(u'\t'))
                words << line.section(u'\t', 0, 0);
        }
    }
    return words;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    printRatioHeader();
    const QStringList folders = QStringList { QStringLiteral(TROPINETS_SOURCE_DIR "/spelling") }
        + Dictionary::defaultFolders();
    SpellChecker checker(std::make_unique<Dictionary>(folders));
    Dictionary hunspell(folders);
    if (!checker.unavailableReason().isEmpty()) {
        QTextStream(stderr) << "bench_spelling: " << checker.unavailableReason() << '\n';
        return 0;
    }
    const auto row = [&](const QString &name, const QStringList &words, int pairs) {
        qsizetype ours = 0;
        qsizetype floor = 0;
        compare(name, timed([&] { checker.suggestions(words[ours++ % words.size()]); }), timed([&] {
            hunspell.suggestions(words[floor++ % words.size()], SpellChecker::MostSuggestions);
        }),
            pairs);
    };
    for (const char *word : { "сабака", "Малако", "севодня", "сонце", "неумею" })
        row(QStringLiteral("suggestions for «%1» / Hunspell suggest").arg(QString::fromUtf8(word)),
            { QString::fromUtf8(word) }, 11);
    const QStringList corpus = corpusWords();
    if (!corpus.isEmpty())
        row(QStringLiteral("suggestions, corpus word by word / Hunspell suggest"), corpus, 41);
    return 0;
}
