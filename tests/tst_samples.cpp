#include "editor/EditorCanvas.h"
#include "editor/EditorWindow.h"
#include "pictures/PictureLoader.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "widgets/PictureBox.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Samples = QStringLiteral(TROPINETS_SOURCE_DIR "/samples");

QString storiesFolder()
{
    return Samples + QStringLiteral("/Рассказы");
}

QString picturesFolder()
{
    return Samples + QStringLiteral("/Картинки");
}

bool copyFolder(const QString &from, const QString &to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString &name : QDir(from).entryList(QDir::Files)) {
        if (!QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    }
    return true;
}

void addStories()
{
    QTest::addColumn<QString>("story");
    QTest::newRow("fox") << QStringLiteral("лиса.txt");
    QTest::newRow("zebra") << QStringLiteral("зебра.txt");
}

} // namespace

class tst_Samples : public QObject {
    Q_OBJECT

private slots:
    void storyFile_data();
    void storyFile();
    void pictureList_data();
    void pictureList();
    void bothFormats();
    void opensInTheEditor_data();
    void opensInTheEditor();
};

void tst_Samples::storyFile_data()
{
    addStories();
}

void tst_Samples::storyFile()
{
    QFETCH(QString, story);
    const QString path = storiesFolder() + QLatin1Char('/') + story;
    const QByteArray bytes = readAll(path);
    QVERIFY(!bytes.isEmpty());
    // Ten lines in Windows-1251, each ended by CR LF, and nothing else.
    QCOMPARE(bytes.count("\r\n"), 10);
    QCOMPARE(bytes.count('\r'), 10);
    QCOMPARE(bytes.count('\n'), 10);
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(!bytes.startsWith("\xef\xbb\xbf"));
    QVERIFY(!bytes.contains('\x98'));

    const LinesRead texts = StoryFiles::readStory(path);
    QVERIFY2(texts.ok(), qPrintable(texts.error));
    QCOMPARE(texts.lines.size(), 10);
    for (int b = 0; b < 10; ++b) {
        const QString text = texts.lines.at(b);
        QVERIFY2(!text.isEmpty(), qPrintable(QString::number(b)));
        QCOMPARE(text.trimmed(), text);
        // Blocks 1, 4 and 5 are questions for Yes or No; the rest are chapters.
        const bool question = b == 1 || b == 4 || b == 5;
        QCOMPARE(text.endsWith(QLatin1Char('?')), question);
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("[а-яё]"))));
    }
}

void tst_Samples::pictureList_data()
{
    addStories();
}

void tst_Samples::pictureList()
{
    QFETCH(QString, story);
    const QString path = storiesFolder() + QLatin1Char('/') + story;
    QCOMPARE(StoryFiles::pictureListPath(path),
        storiesFolder() + QLatin1Char('/') + story.section(QLatin1Char('.'), 0, 0)
            + QStringLiteral(".il"));
    const QByteArray bytes = readAll(StoryFiles::pictureListPath(path));
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(bytes.count('\r'), 4);
    QCOMPARE(bytes.count('\n'), 4);

    const LinesRead names = StoryFiles::readPictureList(path);
    QVERIFY2(names.ok(), qPrintable(names.error));
    for (const QString &name : names.lines) {
        // Bare file names, so the story works wherever it is built.
        QVERIFY(!name.isEmpty());
        QVERIFY(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')));
        const QString found = StoryFiles::findPicture(name, path, picturesFolder());
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        const LoadedPicture picture = PictureLoader::load(found);
        QVERIFY2(picture.ok(), qPrintable(picture.error));
        QCOMPARE(picture.image.size(), QSize(338, 260));
    }
}

void tst_Samples::bothFormats()
{
    int bmp = 0, jpeg = 0;
    const QStringList names = QDir(picturesFolder()).entryList(QDir::Files);
    QCOMPARE(names.size(), 8);
    for (const QString &name : names) {
        const QByteArray bytes = readAll(picturesFolder() + QLatin1Char('/') + name);
        if (bytes.startsWith("BM") && name.endsWith(QLatin1String(".bmp")))
            ++bmp;
        else if (bytes.startsWith("\xff\xd8\xff") && name.endsWith(QLatin1String(".jpg")))
            ++jpeg;
        else
            QFAIL(qPrintable(name));
    }
    QVERIFY(bmp >= 1);
    QVERIFY(jpeg >= 1);
}

void tst_Samples::opensInTheEditor_data()
{
    addStories();
}

void tst_Samples::opensInTheEditor()
{
    QFETCH(QString, story);
    // Laid out beside a program as the build lays them out.
    QTemporaryDir program;
    QVERIFY(program.isValid());
    QVERIFY(copyFolder(storiesFolder(), program.filePath(QStringLiteral("Рассказы"))));
    QVERIFY(copyFolder(picturesFolder(), program.filePath(QStringLiteral("Картинки"))));

    StoryDocument document;
    ScriptedDialogs dialogs;
    EditorWindow editor(document, dialogs);
    editor.setProgramFolder(program.path());
    editor.resize(1024, 740);
    editor.show();
    QTRY_VERIFY(editor.isActiveWindow());
    QTRY_VERIFY(editor.canvas()->width() > 1000);

    const QString path = program.filePath(QStringLiteral("Рассказы/") + story);
    dialogs.files.enqueue(path);
    editor.open();
    QCOMPARE(dialogs.kinds(), QStringList { QStringLiteral("file") });
    const QString start = dialogs.calls.constFirst().file.folder;
    QVERIFY(QDir(start).exists(story));

    const LinesRead texts = StoryFiles::readStory(path);
    const LinesRead names = StoryFiles::readPictureList(path);
    for (int b = 0; b < 10; ++b)
        QCOMPARE(document.blockTexts[b], texts.lines.at(b));
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(document.picturePath(k), names.lines.at(k));
        QVERIFY2(!editor.pictureFrame(k)->picture().isNull(), qPrintable(names.lines.at(k)));
    }

    // The picture dialog starts among the samples' pictures.
    dialogs.files.enqueue(std::nullopt);
    editor.choosePicture(0);
    const QDir pictures(dialogs.calls.constLast().file.folder);
    QVERIFY(!pictures.entryList({ QStringLiteral("*.bmp") }).isEmpty());
    QVERIFY(!pictures.entryList({ QStringLiteral("*.jpg") }).isEmpty());
    QVERIFY(!editor.pictureFrame(0)->picture().isNull());

    // A first example should show whole: every word fits into its block.
    QString written;
    for (const SurfaceOp &op : editor.surface().ops()) {
        if (op.kind == SurfaceOp::Text && op.fontSize == 8.0)
            written += op.text;
    }
    QCOMPARE(written, texts.lines.join(QString()));
}

QTEST_MAIN(tst_Samples)
#include "tst_samples.moc"
