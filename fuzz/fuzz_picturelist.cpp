#include "FuzzCheck.h"

#include "story/StoryDocument.h"
#include "story/StoryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>

// A picture-list file as Open reads it. Whatever its bytes, four paths come
// back, and each leads to nothing, to the absolute path it names, or to a
// file of its name beside the story or in the picture folder: never to a
// file anywhere else. Each line is also taken as a story file's name, whose
// picture list must lie beside it and never be the story file itself.

namespace {

struct Folders {
    QTemporaryDir root;
    QString stories;
    QString pictures;
    QString storyPath;

    Folders()
    {
        QDir dir(root.path());
        dir.mkdir(QStringLiteral("Рассказы"));
        dir.mkdir(QStringLiteral("Картинки"));
        stories = dir.filePath(QStringLiteral("Рассказы"));
        pictures = dir.filePath(QStringLiteral("Картинки"));
        storyPath = stories + QStringLiteral("/лиса.txt");
        touch(stories + QStringLiteral("/лиса.txt"));
        touch(stories + QStringLiteral("/рядом.bmp"));
        touch(pictures + QStringLiteral("/лиса_спит.bmp"));
        touch(pictures + QStringLiteral("/a.jpg"));
        dir.mkdir(QStringLiteral("Картинки/папка.jpg"));
    }

    static void touch(const QString &path)
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    }
};

const Folders &folders()
{
    static const Folders f;
    return f;
}

void checkListName(const QString &storyPath)
{
    const QString list = StoryFiles::pictureListPath(storyPath);
    FUZZ_CHECK(list.endsWith(QLatin1String("il")));
    FUZZ_CHECK(list.compare(storyPath, Qt::CaseInsensitive) != 0);
    const qsizetype nameStart = std::max(storyPath.lastIndexOf(QLatin1Char('/')),
                                    storyPath.lastIndexOf(QLatin1Char('\\')))
        + 1;
    FUZZ_CHECK(list.startsWith(storyPath.left(nameStart)));
    FUZZ_CHECK(!list.mid(nameStart).contains(QLatin1Char('/')));
    FUZZ_CHECK(!list.mid(nameStart).contains(QLatin1Char('\\')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Folders &f = folders();
    FUZZ_CHECK(f.root.isValid());
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    FUZZ_CHECK(writeFile(StoryFiles::pictureListPath(f.storyPath), bytes));
    const LinesRead read = StoryFiles::readPictureList(f.storyPath);
    FUZZ_CHECK(read.ok());
    FUZZ_CHECK(read.lines == StoryFiles::decodeLines(bytes, FrameCount));

    for (const QString &path : read.lines) {
        FUZZ_CHECK(!path.contains(QLatin1Char('\r')) && !path.contains(QLatin1Char('\n')));
        checkListName(path);
        const QString found = StoryFiles::findPicture(path, f.storyPath, f.pictures);
        if (found.isEmpty())
            continue;
        const QFileInfo info(found);
        FUZZ_CHECK(info.exists());
        if (found == path) {
            FUZZ_CHECK(info.isAbsolute());
            continue;
        }
        FUZZ_CHECK(info.isFile());
        FUZZ_CHECK(info.path() == f.stories || info.path() == f.pictures);
    }
    return 0;
}
