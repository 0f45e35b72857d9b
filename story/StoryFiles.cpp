#include "story/StoryFiles.h"

#include "files/Cp1251.h"
#include "files/PendingFile.h"
#include "story/StoryDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF", 3);

// How JPEG, PNG and GIF files start. A BMP starts with "BM", which text may
// too, but always holds NUL bytes in its header.
constexpr QByteArrayView PictureStarts[]
    = { "\xFF\xD8\xFF", "\x89PNG\r\n\x1A\n", "GIF87a", "GIF89a" };

bool startsLikePicture(QByteArrayView bytes)
{
    return std::any_of(std::begin(PictureStarts), std::end(PictureStarts),
        [&](QByteArrayView start) { return bytes.startsWith(start); });
}

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
#ifdef EDQUOT // Windows has no quota error of its own
    case EDQUOT:
        return QStringLiteral("превышена квота на диске");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись в эту папку");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case EIO:
        return QStringLiteral("ошибка записи на диск");
    // A stick pulled out, or its driver gone with it.
    case ENODEV:
    case ENXIO:
#ifdef ENOTCONN
    case ENOTCONN:
#endif
        return QStringLiteral("диск отключён");
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

QString cannotWrite(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удалось сохранить файл «%1»: %2.")
        .arg(StoryFiles::displayName(path), reason);
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
    return cannotWrite(path, reason);
}

QString tooBig(const QString &path, qint64 bytes)
{
    const QLocale russian(QLocale::Russian);
    return QStringLiteral("Файл «%1» слишком большой (%2 МБ): рассказ бывает не больше %3 МБ.")
        .arg(StoryFiles::displayName(path),
            russian.toString(std::ceil(bytes * 10.0 / (1024 * 1024)) / 10, 'f', 1))
        .arg(StoryFiles::MaxFileBytes / (1024 * 1024));
}

// Writes the bytes into the pending file and syncs them to the disk; the old
// file stays as it was until commit().
bool prepare(PendingFile &file, QByteArrayView bytes)
{
    if (QFileInfo(file.target()).isDir())
        return false;
    return file.open() && file.write(bytes) && file.finish();
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
    const auto encode = [&lines](bool utf8) {
        QByteArray bytes = utf8 ? Utf8Bom.toByteArray() : QByteArray();
        for (const QString &line : lines) {
            QByteArray text = utf8 ? line.toUtf8() : Cp1251::encode(line);
            bytes += text.replace('\r', ' ').replace('\n', ' ').replace('\0', ' ');
            bytes += "\r\n";
        }
        return bytes;
    };
    // Windows-1251 text that begins like UTF-8's mark would be read back as
    // UTF-8, and one that begins like a picture would be refused.
    if (std::all_of(lines.begin(), lines.end(), &Cp1251::canEncode)) {
        const QByteArray bytes = encode(false);
        if (!bytes.startsWith(Utf8Bom) && !startsLikePicture(bytes))
            return bytes;
    }
    return encode(true);
}

QStringList StoryFiles::decodeLines(QByteArrayView bytes, int count)
{
    const bool utf8 = bytes.startsWith(Utf8Bom);
    if (utf8)
        bytes = bytes.sliced(Utf8Bom.size());
    // A mark at the start of a later line is text, and kept.
    QStringDecoder fromUtf8(QStringDecoder::Utf8,
        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    QStringList lines;
    qsizetype at = 0;
    while (lines.size() < count && at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView line = bytes.sliced(at, end - at);
        lines << (utf8 ? QString(fromUtf8(line)) : Cp1251::decode(line));
        const bool crLf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
        at = end + (crLf ? 2 : 1);
    }
    while (lines.size() < count)
        lines << QString();
    return lines;
}

namespace {

// The whole file, of at most MaxFileBytes; nothing, with the error set in
// result, when it cannot be read.
std::optional<QByteArray> readWhole(const QString &path, LinesRead &result)
{
    if (const auto error = notAFile(path)) {
        result.missing = !QFileInfo::exists(path);
        result.error = *error;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.error = QStringLiteral("Не удалось открыть файл «%1»: %2.")
                           .arg(StoryFiles::displayName(path), file.errorString());
        return std::nullopt;
    }
    if (file.size() > StoryFiles::MaxFileBytes) {
        result.error = tooBig(path, file.size());
        return std::nullopt;
    }
    // One read of the whole file. One byte more than the limit tells a file
    // that has grown since, or whose size the file system does not know.
    QByteArray bytes = file.read(StoryFiles::MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Не удалось прочитать файл «%1»: %2.")
                           .arg(StoryFiles::displayName(path), file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > StoryFiles::MaxFileBytes) {
        result.error = tooBig(path, std::max<qint64>(file.size(), bytes.size()));
        return std::nullopt;
    }
    return bytes;
}

} // namespace

LinesRead StoryFiles::readLines(const QString &path, int count)
{
    LinesRead result;
    if (const auto bytes = readWhole(path, result))
        result.lines = decodeLines(*bytes, count);
    return result;
}

LinesRead StoryFiles::readStory(const QString &storyPath)
{
    LinesRead result;
    // A save of this story cut short between its two files is completed
    // first, so that the pair read is whole.
    if (const int error = PendingFile::finishPair(
            storyPath, pictureListPath(storyPath), PendingFile::Leftovers::Keep)) {
        result.error = QStringLiteral("Не удалось открыть файл «%1»: его сохранение прервалось, "
                                      "а закончить его не удалось: %2.")
                           .arg(displayName(storyPath), reasonFor(error));
        return result;
    }
    const auto bytes = readWhole(storyPath, result);
    if (!bytes)
        return result;
    // Read as text, a picture or any other binary file would replace the
    // story with rubbish. Text never holds a NUL byte.
    const bool nul = bytes->contains('\0');
    if (startsLikePicture(*bytes) || (nul && bytes->startsWith("BM"))) {
        result.error = QStringLiteral("Файл «%1» — это картинка, а не рассказ. Картинку к "
                                      "концовке выбирают щелчком по её рамке.")
                           .arg(displayName(storyPath));
    } else if (nul) {
        result.error
            = QStringLiteral("Файл «%1» — не рассказ: в нём не текст.").arg(displayName(storyPath));
    } else {
        result.lines = decodeLines(*bytes, BlockCount);
    }
    return result;
}

LinesRead StoryFiles::readPictureList(const QString &storyPath)
{
    return readLines(pictureListPath(storyPath), FrameCount);
}

StorySaved StoryFiles::save(const QString &storyPath, const StoryDocument &story)
{
    QStringList paths;
    for (int k = 0; k < FrameCount; ++k)
        paths << story.picturePath(k);

    // What an earlier save of this story left is cleared first, and a pair
    // it had decided completed: else it would be completed over this one.
    PendingFile storyFile(storyPath);
    PendingFile listFile(pictureListPath(storyPath));
    if (const int error = PendingFile::finishPair(
            storyFile.target(), listFile.target(), PendingFile::Leftovers::Remove))
        return { cannotWrite(storyPath, error) };
    // Both new files are whole and on the disk before either replaces an old
    // one, so a crash or a failure up to then leaves the old pair.
    if (!prepare(
            storyFile, encodeLines(QStringList(story.blockTexts.begin(), story.blockTexts.end()))))
        return { cannotWrite(storyPath, storyFile.error()) };
    if (!prepare(listFile, encodeLines(paths)))
        return { cannotWrite(listFile.target(), listFile.error()) };
    if (!PendingFile::commitPair(storyFile, listFile)) {
        const PendingFile &failed = storyFile.error() ? storyFile : listFile;
        return { cannotWrite(failed.target(), failed.error()) };
    }
    if (const int error = PendingFile::syncFolder(QFileInfo(storyFile.target()).path()))
        return { cannotWrite(storyPath, error) };
    return {};
}

StorySaved StoryFiles::saveFile(const QString &path, QByteArrayView bytes)
{
    PendingFile file(path);
    if (!prepare(file, bytes) || !file.commit())
        return { cannotWrite(path, file.error()) };
    if (const int error = PendingFile::syncFolder(QFileInfo(file.target()).path()))
        return { cannotWrite(path, error) };
    PendingFile::removeLeftovers(file.target());
    return {};
}

StorySaved StoryFiles::notSaved(const QString &path, const QString &reason)
{
    return { cannotWrite(path, reason) };
}

QString StoryFiles::findPicture(
    const QString &path, const QString &storyPath, const QString &pictureFolder)
{
    if (path.isEmpty())
        return {};
    // A relative path would be looked up in whatever folder the program
    // happens to run in; only an absolute one is taken as it stands.
    const QFileInfo given(path);
    if (given.isAbsolute() && given.isFile())
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
