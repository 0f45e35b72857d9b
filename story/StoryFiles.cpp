#include "story/StoryFiles.h"

#include "story/LineCodec.h"
#include "story/PendingFile.h"
#include "story/StoryDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>

namespace {

qsizetype fileNameStart(const QString &path)
{
    // Both separators: paths brought from Windows use backslashes.
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

std::optional<QString> notAFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("Файл «%1» не найден.").arg(StoryFiles::displayName(path));
    if (info.isDir())
        return QStringLiteral("«%1» — это папка, а не файл.").arg(StoryFiles::displayName(path));
    if (!info.isFile())
        return QStringLiteral("«%1» — это не обычный файл.").arg(StoryFiles::displayName(path));
    return std::nullopt;
}

// The system's reasons are in English; the ones a pupil can meet are told in
// plain words.
QString reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("нет места на диске");
    case EDQUOT:
        return QStringLiteral("превышена квота на диске");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись в эту папку");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EIO:
        return QStringLiteral("ошибка записи на диск");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    case EFBIG:
        return QStringLiteral("файл слишком большой для этого диска");
    case EISDIR:
        return QStringLiteral("на его месте папка");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString cannotWrite(const QString &path, int error)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.path());
    QString reason = reasonFor(error);
    if (target.isDir())
        reason = QStringLiteral("на его месте папка");
    else if ((error == EACCES || error == EPERM) && target.exists() && !target.isWritable())
        reason = QStringLiteral("файл открыт только для чтения");
    else if (!folder.exists())
        reason = QStringLiteral("нет папки «%1»").arg(StoryFiles::displayName(folder.filePath()));
    else if (!folder.isDir())
        reason = QStringLiteral("«%1» — не папка, а файл")
                     .arg(StoryFiles::displayName(folder.filePath()));
    return QStringLiteral("Не удалось сохранить файл «%1»: %2.")
        .arg(StoryFiles::displayName(path), reason);
}

// Writes the lines into the pending file and syncs them to the disk; the
// old file stays as it was until commit().
bool prepare(PendingFile &file, std::span<const QString> lines)
{
    if (QFileInfo(file.target()).isDir())
        return false;
    return file.open()
        && LineCodec::write(lines, [&](QByteArrayView bytes) { return file.write(bytes); })
        && file.finish();
}

} // namespace

QString StoryFiles::displayName(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString StoryFiles::pictureListPath(const QString &storyPath)
{
    const qsizetype nameStart = fileNameStart(storyPath);
    const qsizetype dot = storyPath.indexOf(QLatin1Char('.'), nameStart);
    QString list = dot < 0 ? storyPath + QStringLiteral(".il")
                           : storyPath.left(dot + 1) + QStringLiteral("il");
    // Case too: on many file systems FOX.IL and fox.il are one file.
    if (list.compare(storyPath, Qt::CaseInsensitive) == 0)
        list = storyPath + QStringLiteral(".il");
    return list;
}

QByteArray StoryFiles::encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    LineCodec::write(lines, [&](QByteArrayView chunk) {
        bytes += chunk;
        return true;
    });
    return bytes;
}

QStringList StoryFiles::decodeLines(QByteArrayView bytes, int count)
{
    qsizetype at = 0;
    const auto source = [&](char *buffer, qint64 size) {
        const qint64 n = std::min<qint64>(size, bytes.size() - at);
        if (n > 0)
            std::memcpy(buffer, bytes.data() + at, size_t(n));
        at += n;
        return n;
    };
    return LineCodec::read(source, count, std::numeric_limits<qint64>::max(), bytes.size()).lines;
}

LinesRead StoryFiles::readLines(const QString &path, int count)
{
    LinesRead result;
    if (const auto error = notAFile(path)) {
        result.missing = !QFileInfo::exists(path);
        result.error = *error;
        return result;
    }
    // Unbuffered: the codec reads in chunks of its own, straight from the file.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.error = QStringLiteral("Не удалось открыть файл «%1»: %2.")
                           .arg(displayName(path), file.errorString());
        return result;
    }
    const auto source = [&](char *buffer, qint64 size) { return file.read(buffer, size); };
    // A small file is read in one piece, so each of its lines is decoded
    // into a string of just its size.
    const qint64 size = file.size();
    const qsizetype chunk = qsizetype(std::clamp<qint64>(size + 1, 4096, 256 * 1024));
    LineCodec::Decoded decoded = LineCodec::read(source, count, MaxFileBytes, size, chunk);
    switch (decoded.status) {
    case LineCodec::Status::Read:
        result.lines = std::move(decoded.lines);
        break;
    case LineCodec::Status::TooBig:
        result.error = QStringLiteral("Файл «%1» слишком большой: больше %2 МБ.")
                           .arg(displayName(path))
                           .arg(MaxFileBytes / (1024 * 1024));
        break;
    case LineCodec::Status::Failed:
        result.error = QStringLiteral("Не удалось прочитать файл «%1»: %2.")
                           .arg(displayName(path), file.errorString());
        break;
    }
    return result;
}

LinesRead StoryFiles::readStory(const QString &storyPath)
{
    return readLines(storyPath, StoryBlockCount);
}

LinesRead StoryFiles::readPictureList(const QString &storyPath)
{
    return readLines(pictureListPath(storyPath), StoryPictureCount);
}

StorySaved StoryFiles::save(const QString &storyPath, const StoryDocument &story)
{
    std::array<QString, StoryPictureCount> paths;
    for (int k = 0; k < StoryPictureCount; ++k)
        paths[k] = story.picturePath(k);

    // Both new files are whole and on the disk before either replaces an old
    // one, so a crash or a failure up to then leaves the old pair.
    PendingFile storyFile(storyPath);
    PendingFile listFile(pictureListPath(storyPath));
    if (!prepare(storyFile, story.blockTexts))
        return { cannotWrite(storyPath, storyFile.error()) };
    if (!prepare(listFile, paths))
        return { cannotWrite(listFile.target(), listFile.error()) };

    // Two renames cannot be made one, but back to back they leave only a
    // moment for a mixed pair. The old files are kept under second names,
    // so neither rename has to free an old file's space, and so that should
    // the story's rename fail the list can be put back and the pair still
    // matches. The kept old files go once both new ones are in place.
    listFile.keepOld(true);
    storyFile.keepOld(false);
    if (!listFile.commit())
        return { cannotWrite(listFile.target(), listFile.error()) };
    if (!storyFile.commit()) {
        QString error = cannotWrite(storyPath, storyFile.error());
        if (!listFile.revert())
            error += QStringLiteral(" Файл «%1» уже записан заново, вернуть прежний не удалось.")
                         .arg(displayName(listFile.target()));
        return { error };
    }
    if (const int error = PendingFile::syncFolder(QFileInfo(storyFile.target()).path()))
        return { cannotWrite(storyPath, error) };
    return {};
}

QString StoryFiles::findPicture(
    const QString &path, const QString &storyPath, const QString &pictureFolder)
{
    if (path.isEmpty())
        return {};
    // A relative path would be looked up in whatever folder the program
    // happens to run in; only an absolute one is taken as it stands.
    const QFileInfo given(path);
    if (given.isAbsolute() && given.exists())
        return path;
    const QString name = path.mid(fileNameStart(path));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    const QStringList folders = { QFileInfo(storyPath).path(), pictureFolder };
    for (const QString &folder : folders) {
        if (!QDir::isAbsolutePath(folder))
            continue;
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile())
            return candidate.filePath();
    }
    return {};
}
