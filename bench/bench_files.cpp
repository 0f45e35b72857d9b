#include "BenchSupport.h"
#include "story/StoryDocument.h"
#include "story/StoryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

// bench_files                        the ratio rows of Open and Save
// bench_files --peak-open FILE       reads a story, prints the peak memory above idle
// bench_files --peak-save FILE       saves the largest story, the same
//
// The story measured is the largest there can be: ten texts of the most a
// block takes, with spaces and without. Open is both files read into their
// texts; its floor is the same bytes through `cat` into `iconv -f cp1251`.
// Save is both files written and synced; its floor is `iconv -t cp1251`
// into `dd conv=fdatasync`. Peak memory is measured in a fresh process: the
// resident memory (VmRSS) just before the operation against the highest
// (VmHWM) just after, the peak having been reset to the present first. What
// the operation keeps, the texts read, counts too.

namespace {

StoryDocument largestStory(bool spaces)
{
    StoryDocument story;
    const QString words = QStringLiteral("Жили-были дед и баба, и была у них курочка Ряба. ");
    const QString text = spaces
        ? words.repeated(MaxBlockTextLength / words.size() + 1).left(MaxBlockTextLength)
        : QString(MaxBlockTextLength, QChar(0x0436));
    story.blockTexts.fill(text);
    for (int k = 0; k < FrameCount; ++k)
        story.picturePaths[k] = QStringLiteral("/home/ученик/Картинки/%1.jpg").arg(k);
    return story;
}

void readBoth(const QString &path)
{
    if (!StoryFiles::readStory(path).ok() || !StoryFiles::readPictureList(path).ok())
        qFatal("read failed");
}

int peakOpen(const QString &path)
{
    const qint64 before = currentMemory();
    resetPeakMemory();
    const LinesRead texts = StoryFiles::readStory(path);
    const LinesRead paths = StoryFiles::readPictureList(path);
    if (!texts.ok() || !paths.ok())
        return 1;
    QTextStream(stdout) << peakMemory() - before << '\n';
    return 0;
}

int peakSave(const QString &path)
{
    const StoryDocument big = largestStory(true);
    const qint64 before = currentMemory();
    resetPeakMemory();
    if (!StoryFiles::save(path, big).ok())
        return 1;
    QTextStream(stdout) << peakMemory() - before << '\n';
    return 0;
}

double mib(qint64 bytes)
{
    return bytes / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--peak-open"))
        return peakOpen(args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("--peak-save"))
        return peakSave(args[1]);

    printRatioHeader();
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench_files-XXXXXX"));
    if (!dir.isValid())
        return 1;

    const QString open = QStringLiteral("cat \"$1\" | iconv -f cp1251 -t utf-8 >/dev/null");
    const QString save
        = QStringLiteral("iconv -f utf-8 -t cp1251 \"$1\" | dd of=\"$2\" bs=1M conv=fdatasync "
                         "status=none");
    QString largest;
    for (const bool spaces : { true, false }) {
        const QString kind = spaces ? QStringLiteral("spaces") : QStringLiteral("no space");
        const StoryDocument texts = largestStory(spaces);
        const QString path = dir.filePath(QStringLiteral("story-%1.txt").arg(spaces));
        if (!StoryFiles::save(path, texts).ok())
            qFatal("save failed");
        if (spaces)
            largest = path;

        // The floor encodes the same text, made UTF-8 the way a pupil's
        // other programs would keep it.
        const QString utf8 = dir.filePath(QStringLiteral("utf8-%1.txt").arg(spaces));
        {
            QFile file(utf8);
            if (!file.open(QIODevice::WriteOnly))
                return 1;
            for (const QString &text : texts.blockTexts)
                file.write(text.toUtf8() + "\r\n");
        }
        compare(QStringLiteral("Open, largest story (%1) / cat | iconv").arg(kind),
            timed([&] { readBoth(path); }),
            process(
                QStringLiteral("sh"), { QStringLiteral("-c"), open, QStringLiteral("sh"), path }));
        const QString saved = dir.filePath(QStringLiteral("saved-%1.txt").arg(spaces));
        const QString floorOut = dir.filePath(QStringLiteral("dd-%1.txt").arg(spaces));
        compare(QStringLiteral("Save, largest story (%1) / iconv | dd fdatasync").arg(kind),
            timed([&] {
                if (!StoryFiles::save(saved, texts).ok())
                    qFatal("save failed");
            }),
            process(QStringLiteral("sh"),
                { QStringLiteral("-c"), save, QStringLiteral("sh"), utf8, floorOut }));
    }

    // Open may hold the texts read, as UTF-16 twice the file's bytes, and a
    // constant; Save holds next to nothing beyond the story it writes.
    const qint64 fileBytes
        = QFileInfo(largest).size() + QFileInfo(StoryFiles::pictureListPath(largest)).size();
    const double constant = 2;
    const qint64 openPeak
        = runSelf({ QStringLiteral("--peak-open"), largest }).trimmed().toLongLong();
    printMemoryRow(QStringLiteral("Open peak above idle, MiB / 2 x %1 MiB file + %2 MiB")
                       .arg(mib(fileBytes), 0, 'f', 1)
                       .arg(constant),
        mib(openPeak), 2 * mib(fileBytes) + constant);
    const qint64 savePeak
        = runSelf({ QStringLiteral("--peak-save"), dir.filePath(QStringLiteral("peak.txt")) })
              .trimmed()
              .toLongLong();
    printMemoryRow(QStringLiteral("Save peak above idle, MiB / 2 x %1 MiB file + %2 MiB")
                       .arg(mib(fileBytes), 0, 'f', 1)
                       .arg(constant),
        mib(savePeak), 2 * mib(fileBytes) + constant);
    return 0;
}
