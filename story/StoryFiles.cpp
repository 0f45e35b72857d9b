#include "story/StoryFiles.h"

#include "story/Cp1251.h"
#include "story/StoryDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <optional>

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF", 3);
constexpr qint64 ReadChunk = 1024 * 1024;

qsizetype fileNameStart(const QString &path)
{
    // Both separators: paths brought from Windows use backslashes.
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

QString withoutLineBreaks(QString line)
{
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

// Counts line ends from pos on until count are found. A CR as the last byte
// waits for more input unless the input is complete.
int countLineEnds(QByteArrayView bytes, qsizetype &pos, int found, int count, bool complete)
{
    while (pos < bytes.size() && found < count) {
        const char c = bytes[pos];
        if (c == '\n') {
            ++found;
            ++pos;
        } else if (c == '\r') {
            if (pos + 1 < bytes.size()) {
                pos += bytes[pos + 1] == '\n' ? 2 : 1;
            } else if (complete) {
                ++pos;
            } else {
                break;
            }
            ++found;
        } else {
            ++pos;
        }
    }
    return found;
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

// Qt's reasons come from the system, often in English; the usual ones are
// told in plain words.
QString cannotWrite(const QString &path, const QString &qtReason)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.path());
    QString reason = qtReason;
    if (target.isDir())
        reason = QStringLiteral("на его месте папка");
    else if (!folder.exists())
        reason = QStringLiteral("нет папки «%1»").arg(StoryFiles::displayName(folder.filePath()));
    else if (!folder.isDir())
        reason = QStringLiteral("«%1» — не папка, а файл")
                     .arg(StoryFiles::displayName(folder.filePath()));
    return QStringLiteral("Не удалось сохранить файл «%1»: %2.")
        .arg(StoryFiles::displayName(path), reason);
}

// Writes the new content into the save file's temporary file; nothing
// replaces the target until commit().
std::optional<QString> prepare(QSaveFile &file, const QByteArray &bytes)
{
    if (!file.open(QIODevice::WriteOnly))
        return cannotWrite(file.fileName(), file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString error = cannotWrite(file.fileName(), file.errorString());
        file.cancelWriting();
        return error;
    }
    return std::nullopt;
}

// The current bytes of a file about to be replaced, so it can be put back.
struct Backup
{
    bool existed = false;
    bool kept = false;
    QByteArray bytes;
};

Backup backUp(const QString &path)
{
    Backup backup;
    QFile file(path);
    backup.existed = file.exists();
    if (backup.existed && file.size() <= StoryFiles::MaxFileBytes
        && file.open(QIODevice::ReadOnly)) {
        backup.bytes = file.readAll();
        backup.kept = file.error() == QFileDevice::NoError;
    }
    return backup;
}

bool restore(const QString &path, const Backup &backup)
{
    if (!backup.existed)
        return QFile::remove(path);
    if (!backup.kept)
        return false;
    QSaveFile file(path);
    return !prepare(file, backup.bytes) && file.commit();
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
    QString text;
    for (const QString &line : lines) {
        text += withoutLineBreaks(line);
        text += QStringLiteral("\r\n");
    }
    // Windows-1251 bytes that begin like the UTF-8 byte-order mark (a text
    // starting "п»ї") would be read back as UTF-8.
    if (Cp1251::canEncode(text)) {
        QByteArray bytes = Cp1251::encode(text);
        if (!bytes.startsWith(Utf8Bom))
            return bytes;
    }
    return Utf8Bom.toByteArray() + text.toUtf8();
}

QStringList StoryFiles::decodeLines(QByteArrayView bytes, int count)
{
    const bool utf8 = bytes.startsWith(Utf8Bom);
    if (utf8)
        bytes = bytes.sliced(Utf8Bom.size());
    // Only the file's first bytes are its byte-order mark; one that starts a
    // later line is text and is kept.
    QStringDecoder fromUtf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::ConvertInitialBom
                                | QStringDecoder::Flag::Stateless);
    QStringList lines;
    lines.reserve(count);
    qsizetype start = 0;
    while (lines.size() < count && start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView line = bytes.sliced(start, end - start);
        lines << (utf8 ? QString(fromUtf8(line)) : Cp1251::decode(line));
        start = end;
        if (start < bytes.size())
            start += bytes[start] == '\r' && start + 1 < bytes.size() && bytes[start + 1] == '\n'
                ? 2 : 1;
    }
    while (lines.size() < count)
        lines << QString();
    return lines;
}

LinesRead StoryFiles::readLines(const QString &path, int count)
{
    LinesRead result;
    if (const auto error = notAFile(path)) {
        result.missing = !QFileInfo::exists(path);
        result.error = *error;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Не удалось открыть файл «%1»: %2.")
                           .arg(displayName(path), file.errorString());
        return result;
    }
    // Only the lines needed are read, so a long tail after them costs nothing.
    QByteArray bytes;
    qsizetype scanned = 0;
    int found = 0;
    bool complete = false;
    while (true) {
        found = countLineEnds(bytes, scanned, found, count, complete);
        if (found >= count || complete)
            break;
        if (bytes.size() > MaxFileBytes) {
            result.error = QStringLiteral("Файл «%1» слишком большой: больше %2 МБ.")
                               .arg(displayName(path))
                               .arg(MaxFileBytes / (1024 * 1024));
            return result;
        }
        const qint64 want = std::min(ReadChunk, MaxFileBytes + 1 - bytes.size());
        const QByteArray chunk = file.read(want);
        if (file.error() != QFileDevice::NoError) {
            result.error = QStringLiteral("Не удалось прочитать файл «%1»: %2.")
                               .arg(displayName(path), file.errorString());
            return result;
        }
        complete = chunk.isEmpty();
        bytes += chunk;
    }
    result.lines = decodeLines(bytes, count);
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
    QStringList texts;
    for (const QString &text : story.blockTexts)
        texts << text;
    QStringList paths;
    for (int k = 0; k < StoryPictureCount; ++k)
        paths << story.picturePath(k);

    const QString listPath = pictureListPath(storyPath);
    QSaveFile storyFile(storyPath);
    QSaveFile listFile(listPath);
    // Both new files are complete on disk before either replaces an old one,
    // so almost every failure leaves the old files untouched.
    if (const auto error = prepare(storyFile, encodeLines(texts)))
        return {*error};
    if (const auto error = prepare(listFile, encodeLines(paths)))
        return {*error};

    // Two renames cannot be made one. The small list goes first, with its
    // old content kept, so that should the story's rename then fail the list
    // can be put back and the pair still matches.
    const Backup oldList = backUp(listPath);
    if (!listFile.commit())
        return {cannotWrite(listPath, listFile.errorString())};
    if (!storyFile.commit()) {
        QString error = cannotWrite(storyPath, storyFile.errorString());
        if (!restore(listPath, oldList))
            error += QStringLiteral(" Файл «%1» уже записан заново, вернуть прежний не удалось.")
                         .arg(displayName(listPath));
        return {error};
    }
    return {};
}

QString StoryFiles::findPicture(const QString &path, const QString &storyPath,
                                const QString &pictureFolder)
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
    const QStringList folders = {QFileInfo(storyPath).path(), pictureFolder};
    for (const QString &folder : folders) {
        if (!QDir::isAbsolutePath(folder))
            continue;
        const QFileInfo candidate(QDir(folder), name);
        if (candidate.isFile())
            return candidate.filePath();
    }
    return {};
}
