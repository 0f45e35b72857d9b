#include "files/PendingFile.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdlib>
#include <memory>
#ifndef Q_OS_WIN
#include <sys/mount.h>
#include <sys/statvfs.h>
#endif

// Saving as the program's worst days meet it: killed at any moment, and a
// disk that is full.

namespace {

// Two stories that tell apart in every line of both files.
StoryDocument version(char which, qsizetype textBytes)
{
    StoryDocument story;
    for (int b = 0; b < BlockCount; ++b)
        story.blockTexts[b] = QString(textBytes, QLatin1Char(which));
    for (int k = 0; k < FrameCount; ++k)
        story.picturePaths[k]
            = QStringLiteral("/%1/картинка %2.jpg").arg(QLatin1Char(which)).arg(k);
    return story;
}

// A block's text in the stories killed: the largest story there can be.
qsizetype killTextBytes()
{
    const int bytes = qEnvironmentVariableIntValue("TROPINETS_KILL_TEXT_BYTES");
    return bytes > 0 ? bytes : StoryFiles::MaxFileBytes / BlockCount - 2;
}

// Names the story that this program, started again, saves until killed.
const char KeepSavingVariable[] = "TROPINETS_TEST_KEEP_SAVING";

// The child of killedAtRandom: saves the two stories in turn until killed.
int keepSaving(const QString &storyPath)
{
    const StoryDocument a = version('a', killTextBytes());
    const StoryDocument b = version('b', killTextBytes());
    fputs("saving\n", stdout);
    fflush(stdout);
    for (bool first = true;; first = !first) {
        if (!StoryFiles::save(storyPath, first ? b : a).ok())
            return 1;
    }
}

QByteArray fileOf(const QStringList &lines)
{
    return StoryFiles::encodeLines(lines);
}

QStringList storyLines(const StoryDocument &story)
{
    return QStringList(story.blockTexts.begin(), story.blockTexts.end());
}

QStringList listLines(const StoryDocument &story)
{
    QStringList lines;
    for (int k = 0; k < FrameCount; ++k)
        lines << story.picturePath(k);
    return lines;
}

} // namespace

class tst_StorySave : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        if (qEnvironmentVariableIsSet(KeepSavingVariable))
            std::exit(keepSaving(qEnvironmentVariable(KeepSavingVariable)));
    }

private slots:
    void initTestCase();
    void killedAtRandom();
    void pulledStick();
    void fullDisk_data();
    void fullDisk();

private:
    QTemporaryDir m_dir;
};

void tst_StorySave::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void tst_StorySave::killedAtRandom()
{
    // Killed anywhere in a save, the pair that Open reads is the old one or
    // the new one, never a story with the other's picture list.
    // TROPINETS_KILL_ROUNDS asks for more rounds than the quick default,
    // TROPINETS_KILL_STORY for a story elsewhere (tests/sticks.sh: on sticks).
    const int rounds = qEnvironmentVariableIntValue("TROPINETS_KILL_ROUNDS") > 0
        ? qEnvironmentVariableIntValue("TROPINETS_KILL_ROUNDS")
        : 20;
    const QString storyPath = qEnvironmentVariableIsSet("TROPINETS_KILL_STORY")
        ? QDir::fromNativeSeparators(qEnvironmentVariable("TROPINETS_KILL_STORY"))
        : m_dir.filePath(QStringLiteral("рассказ.txt"));
    const QString listPath = StoryFiles::pictureListPath(storyPath);
    const QDir folder = QFileInfo(storyPath).dir();
    const StoryDocument a = version('a', killTextBytes());
    const StoryDocument b = version('b', killTextBytes());
    const QByteArray storyA = fileOf(storyLines(a)), storyB = fileOf(storyLines(b));
    const QByteArray listA = fileOf(listLines(a)), listB = fileOf(listLines(b));
    QVERIFY(StoryFiles::save(storyPath, a).ok());

    // Kill moments spread over about two saves.
    QElapsedTimer timer;
    timer.start();
    QVERIFY(StoryFiles::save(storyPath, a).ok());
    const qint64 window = std::max<qint64>(2 * timer.nsecsElapsed() / 1000, 1000);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(KeepSavingVariable), storyPath);
    const QStringList pair = { QFileInfo(listPath).fileName(), QFileInfo(storyPath).fileName() };
    const auto everyFile = [&] { return folder.entryList(QDir::Files | QDir::Hidden); };
    int pairsA = 0, pairsB = 0, halves = 0, leftovers = 0;
    timer.start();
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath());
        // It says so before it touches a file: only its start is waited for,
        // which under Wine once took over 10 s.
        QVERIFY(child.waitForReadyRead(60000));
        const qint64 micros = QRandomGenerator::global()->bounded(window);
        QThread::usleep(micros);
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        // What a kill leaves besides the pair is hidden from every dialog.
        QCOMPARE(folder.entryList(QDir::Files), pair);
        leftovers += everyFile() != pair;
        halves += (readAll(storyPath) == storyA) != (readAll(listPath) == listA);
        // Open completes a pair cut short; the next save clears the rest.
        const LinesRead opened = StoryFiles::readStory(storyPath);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        const QByteArray story = readAll(storyPath);
        const QByteArray list = readAll(listPath);
        const bool isA = story == storyA && list == listA;
        const bool isB = story == storyB && list == listB;
        QVERIFY2(isA || isB,
            qPrintable(QStringLiteral("round %1, killed after %2 µs: story %3, list %4")
                           .arg(round)
                           .arg(micros)
                           .arg(story == storyA      ? "a"
                                   : story == storyB ? "b"
                                                     : "torn")
                           .arg(list == listA      ? "a"
                                   : list == listB ? "b"
                                                   : "torn")));
        (isA ? pairsA : pairsB)++;
    }
    qInfo("%d rounds in %lld ms: %d left story a, %d story b; %d left hidden files, %d a pair "
          "half renamed that Open completed",
        rounds, timer.elapsed(), pairsA, pairsB, leftovers, halves);

    // The next save clears what the kills left, but for the file another
    // copy is still writing.
    auto writing = std::make_unique<PendingFile>(storyPath);
    QVERIFY(writing->open());
    QVERIFY(StoryFiles::save(storyPath, a).ok());
    QCOMPARE(everyFile().size(), 3);
    writing.reset();
    QCOMPARE(everyFile(), pair);
}

void tst_StorySave::pulledStick()
{
    // Its device failing as a stick pulled out, the save says so, naming the file.
    if (!qEnvironmentVariableIsSet("TROPINETS_FAILING_STICK"))
        QSKIP("TROPINETS_FAILING_STICK names no failing stick: tests/sticks.sh makes one");
    const QString story
        = QDir::fromNativeSeparators(qEnvironmentVariable("TROPINETS_FAILING_STICK"))
        + QStringLiteral("/лиса.txt");
    QCOMPARE(StoryFiles::save(story, version('b', 100)).error,
        QStringLiteral("Не удалось сохранить файл «%1»: ошибка записи на диск.")
            .arg(StoryFiles::displayName(story)));
}

void tst_StorySave::fullDisk_data()
{
    QTest::addColumn<int>("freePages"); // -1: the disk is read-only
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("reason");
    // Each small file takes one page of the tmpfs.
    QTest::newRow("no room for the story file") << 0 << "fox.txt"
                                                << "нет места на диске";
    QTest::newRow("no room for the picture list") << 1 << "fox.il"
                                                  << "нет места на диске";
    // One file alone (a web page) is saved as the pair is.
    QTest::newRow("no room for one file") << 0 << "fox.html"
                                          << "нет места на диске";
    QTest::newRow("one file on a read-only disk") << -1 << "fox.html"
                                                  << "диск доступен только для чтения";
}

void tst_StorySave::fullDisk()
{
#ifdef Q_OS_WIN
    QSKIP("a small full disk is made of a Linux tmpfs");
#else
    QFETCH(int, freePages);
    QFETCH(QString, named);
    QFETCH(QString, reason);
    const QString mountPoint
        = m_dir.filePath(QStringLiteral("full-%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(mountPoint));
    if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("a small tmpfs cannot be mounted here (needs root)");
    const auto unmount = qScopeGuard([&] { ::umount(QFile::encodeName(mountPoint).constData()); });

    const QString story = mountPoint + QStringLiteral("/fox.txt");
    const QByteArray oldStory = "old story\r\n";
    const QByteArray oldList = "old list\r\n";
    QVERIFY(writeAll(story, oldStory));
    QVERIFY(writeAll(mountPoint + QStringLiteral("/fox.il"), oldList));
    struct statvfs disk;
    QVERIFY(::statvfs(QFile::encodeName(mountPoint).constData(), &disk) == 0);
    const qint64 fill
        = freePages < 0 ? 1 : qint64(disk.f_bavail) * disk.f_bsize - qint64(freePages) * 4096;
    QVERIFY(writeAll(mountPoint + QStringLiteral("/filler"), QByteArray(fill, 'x')));
    if (freePages < 0)
        QVERIFY(::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs",
                    MS_REMOUNT | MS_RDONLY, nullptr)
            == 0);

    StoryDocument short_;
    short_.blockTexts[0] = QStringLiteral("Лиса");
    short_.picturePaths[0] = QStringLiteral("/картинки/лиса.jpg");
    const QString page = mountPoint + QStringLiteral("/fox.html");
    const StorySaved saved = named == QLatin1String("fox.html")
        ? StoryFiles::saveFile(page, "<html>")
        : StoryFiles::save(story, short_);
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error.contains(reason), qPrintable(saved.error));
    QVERIFY2(saved.error.contains(QStringLiteral("«%1/%2»").arg(mountPoint, named)),
        qPrintable(saved.error));
    // The old pair stays, and nothing else is left behind.
    QCOMPARE(readAll(story), oldStory);
    QCOMPARE(readAll(mountPoint + QStringLiteral("/fox.il")), oldList);
    QCOMPARE(
        QDir(mountPoint).entryList(QDir::Files), QStringList({ "filler", "fox.il", "fox.txt" }));
#endif
}

QTEST_GUILESS_MAIN(tst_StorySave)
#include "tst_storysave.moc"
