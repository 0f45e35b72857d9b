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

#include <vector>

#include <time.h>

// bench_files                        the ratio rows of Open and Save
// bench_files --peak-open FILE       reads a story, prints the peak memory above idle
// bench_files --peak-save FILE KB    saves ten texts of KB each, the same
// bench_files --open-often FILE N    reads a story N times, for perf
//
// Open is both files read into their texts; its floor is the same bytes
// through `cat` into `iconv -f cp1251`. Save is both files written and
// synced; its floor is `iconv -t cp1251` into `dd conv=fdatasync`. Peak
// memory is measured in a fresh process: the resident memory (VmRSS) just
// before the operation against the highest (VmHWM) just after, the peak
// having been reset to the present first. What the operation keeps, the
// texts read, counts too.

namespace {

StoryDocument story(qsizetype textBytes)
{
    StoryDocument story;
    const QString words = QStringLiteral("Жили-были дед и баба, и была у них курочка Ряба. ");
    QString text;
    while (text.size() < textBytes)
        text += words;
    text.truncate(textBytes);
    for (int b = 0; b < BlockCount; ++b)
        story.blockTexts[b] = text;
    for (int k = 0; k < FrameCount; ++k)
        story.picturePaths[k] = QStringLiteral("/home/ученик/Картинки/%1.jpg").arg(k);
    return story;
}

void readBoth(const QString &path)
{
    if (!StoryFiles::readStory(path).ok() || !StoryFiles::readPictureList(path).ok())
        qFatal("read failed");
}

QString sizeName(qsizetype bytes)
{
    return bytes >= 1024 * 1024 ? QStringLiteral("%1 MB").arg(bytes / (1024 * 1024))
                                : QStringLiteral("%1 KB").arg(bytes / 1024);
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

int peakSave(const QString &path, qsizetype textBytes)
{
    const StoryDocument big = story(textBytes);
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
    if (args.size() == 3 && args[0] == QLatin1String("--open-often")) {
        for (int i = args[2].toInt(); i > 0; --i)
            readBoth(args[1]);
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("--peak-save"))
        return peakSave(args[1], args[2].toLongLong() * 1024);

    printRatioHeader();
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench_files-XXXXXX"));
    if (!dir.isValid())
        return 1;

    const QString open = QStringLiteral("cat \"$1\" | iconv -f cp1251 -t utf-8 >/dev/null");
    const QString save
        = QStringLiteral("iconv -f utf-8 -t cp1251 \"$1\" | dd of=\"$2\" bs=1M conv=fdatasync "
                         "status=none");
    const qsizetype sizes[] = { 10 * 1024, 100 * 1024, 1024 * 1024, 6 * 1024 * 1024 };
    QString largest;
    for (const qsizetype size : sizes) {
        const QString name = sizeName(size);
        const StoryDocument texts = story(size);
        const QString path = dir.filePath(QStringLiteral("story-%1.txt").arg(size));
        if (!StoryFiles::save(path, texts).ok())
            qFatal("save failed");
        largest = path;
        if (size < 1024 * 1024)
            continue;

        // The floor encodes the same text, made UTF-8 the way a pupil's
        // other programs would keep it.
        const QString utf8 = dir.filePath(QStringLiteral("utf8-%1.txt").arg(size));
        {
            QFile file(utf8);
            if (!file.open(QIODevice::WriteOnly))
                return 1;
            for (const QString &text : texts.blockTexts)
                file.write(text.toUtf8() + "\r\n");
        }
        compare(QStringLiteral("Open, ten %1 texts / cat | iconv").arg(name),
            timed([&] { readBoth(path); }),
            process(
                QStringLiteral("sh"), { QStringLiteral("-c"), open, QStringLiteral("sh"), path }));
        const QString saved = dir.filePath(QStringLiteral("saved-%1.txt").arg(size));
        const QString floorOut = dir.filePath(QStringLiteral("dd-%1.txt").arg(size));
        compare(QStringLiteral("Save, ten %1 texts / iconv | dd fdatasync").arg(name), timed([&] {
            if (!StoryFiles::save(saved, texts).ok())
                qFatal("save failed");
        }),
            process(QStringLiteral("sh"),
                { QStringLiteral("-c"), save, QStringLiteral("sh"), utf8, floorOut }));
        QFile::remove(utf8);
    }

    // Per MB of text: about 60 MB of text opened as stories of each size,
    // one after another as a pupil would, each story let go as the next
    // comes. Timed as this process's processor time, system time included,
    // which a machine shared with other work disturbs least.
    const qsizetype top = sizes[std::size(sizes) - 1];
    const auto perMb = [&](qsizetype size) {
        const QString path = dir.filePath(QStringLiteral("story-%1.txt").arg(size));
        const int repeats = int(top / size);
        const double mb = 10.0 * size * repeats / (1024 * 1024);
        return [=] {
            timespec start, end;
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &start);
            for (int i = 0; i < repeats; ++i)
                readBoth(path);
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &end);
            return (end.tv_sec - start.tv_sec + (end.tv_nsec - start.tv_nsec) / 1e9) / mb;
        };
    };
    for (const qsizetype size : sizes) {
        if (size != top)
            compare(QStringLiteral("Open per MB, %1 / %2 texts").arg(sizeName(size), sizeName(top)),
                perMb(size), perMb(top));
    }

    const qint64 fileBytes
        = QFileInfo(largest).size() + QFileInfo(StoryFiles::pictureListPath(largest)).size();
    const qint64 openPeak
        = runSelf({ QStringLiteral("--peak-open"), largest }).trimmed().toLongLong();
    printMemoryRow(QStringLiteral("Open peak above idle, MiB / 2 x %1 MiB file")
                       .arg(mib(fileBytes), 0, 'f', 0),
        mib(openPeak), 2 * mib(fileBytes));
    const qint64 savePeak
        = runSelf({ QStringLiteral("--peak-save"), dir.filePath(QStringLiteral("peak.txt")),
                      QString::number(top / 1024) })
              .trimmed()
              .toLongLong();
    printMemoryRow(QStringLiteral("Save peak above idle, MiB / 2 x %1 MiB file")
                       .arg(mib(fileBytes), 0, 'f', 0),
        mib(savePeak), 2 * mib(fileBytes));
    return 0;
}
