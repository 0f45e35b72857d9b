#include "files/PendingFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>

namespace {

constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int RandomLetters = 6;

// What every temporary name of the target starts with: hidden, and marked as
// ours, so that no file of the user's is ever taken for one.
QString temporaryPrefix(const QString &target)
{
    return QLatin1Char('.') + QFileInfo(target).fileName() + QStringLiteral(".tropinets-");
}

bool randomLetters(QStringView text)
{
    return text.size() == RandomLetters && std::all_of(text.begin(), text.end(), [](QChar c) {
        return QLatin1String(Letters).contains(c);
    });
}

bool isTemporaryName(const QString &name, const QString &prefix)
{
    return name.startsWith(prefix) && randomLetters(QStringView(name).sliced(prefix.size()));
}

// A pair's intent is named after both temporaries:
// ".fox.txt.tropinets-Ab12Cd-Ef34Gh" for ".fox.txt.tropinets-Ab12Cd" and
// ".fox.il.tropinets-Ef34Gh".
bool isIntentName(const QString &name, const QString &prefix)
{
    const qsizetype dash = prefix.size() + RandomLetters;
    return name.size() == dash + 1 + RandomLetters && name.at(dash) == QLatin1Char('-')
        && isTemporaryName(name.left(dash), prefix)
        && randomLetters(QStringView(name).sliced(dash + 1));
}

// The names in the folder that start with the prefix, read without asking
// the disk about each file.
QStringList namesStarting(const QString &folder, const QString &prefix)
{
    QStringList names;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        if (entries.fileName().startsWith(prefix))
            names << entries.fileName();
    }
    return names;
}

// A link is followed, so the file it points at gets the new content and the
// link stays a link.
QString resolved(const QString &target)
{
    const QFileInfo info(target);
    return info.isSymLink() ? info.symLinkTarget() : target;
}

QString temporaryName(const QString &target, const QString &letters)
{
    return QFileInfo(target).path() + QLatin1Char('/') + temporaryPrefix(target) + letters;
}

} // namespace

PendingFile::PendingFile(const QString &target)
    : m_target(resolved(target))
{
}

PendingFile::~PendingFile()
{
    // Removed before its hold goes, so no one else finds it unheld.
    if (!m_temporary.isEmpty() && !m_committed)
        removeFile(m_temporary);
    release(m_file);
}

bool PendingFile::open()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString letters;
        for (int i = 0; i < RandomLetters; ++i)
            letters += QLatin1Char(Letters[QRandomGenerator::global()->bounded(62)]);
        const QString name = temporaryName(m_target, letters);
        const int error = createHeld(name, m_target, m_file);
        if (error == EEXIST)
            continue;
        if (error)
            return fail(error);
        m_temporary = name;
        return true;
    }
    return fail(EEXIST);
}

bool PendingFile::write(QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const qint64 written = writeSome(m_file, data, left);
        if (written < 0)
            return fail(int(-written));
        if (written == 0)
            return fail(ENOSPC);
        data += written;
        left -= written;
    }
    return true;
}

bool PendingFile::finish()
{
    // A full disk can first show here, when delayed writes are made.
    if (const int error = sync(m_file))
        return fail(error);
    return true;
}

bool PendingFile::commit()
{
    if (const int error = replaceFile(m_temporary, m_target))
        return fail(error);
    m_committed = true;
    // Its content is on the disk since finish(); the hold may go now.
    release(m_file);
    return true;
}

bool PendingFile::commitPair(PendingFile &first, PendingFile &second)
{
    // Made and held before the first rename, removed after the second:
    // whoever finds it unheld knows both temporaries are whole.
    const QString intent
        = first.m_temporary + QLatin1Char('-') + second.m_temporary.right(RandomLetters);
    Handle held = NoHandle;
    if (const int error = createHeld(intent, first.m_target, held))
        return first.fail(error);
    if (!first.commit()) {
        // Nothing is replaced yet: without the intent the old pair stands.
        // Should the intent stay, both temporaries stay with it.
        if (!removeFile(intent)) {
            first.m_temporary.clear();
            second.m_temporary.clear();
        }
        release(held);
        return false;
    }
    // The new pair is decided: should the second rename fail, the next
    // finishPair() makes it.
    const bool done = second.commit();
    if (done)
        removeFile(intent);
    else
        second.m_temporary.clear();
    release(held);
    return done;
}

bool PendingFile::fail(int error)
{
    m_error = error ? error : EIO;
    return false;
}

int PendingFile::finishPair(
    const QString &firstPath, const QString &secondPath, Leftovers leftovers)
{
    const QString first = resolved(firstPath);
    const QString second = resolved(secondPath);
    const QString prefix = temporaryPrefix(first);
    const QDir folder(QFileInfo(first).path());
    QStringList spared;
    for (const QString &name : namesStarting(folder.path(), prefix)) {
        if (!isIntentName(name, prefix))
            continue;
        const QString firstTemporary = folder.filePath(name.left(prefix.size() + RandomLetters));
        const QString secondTemporary = temporaryName(second, name.right(RandomLetters));
        // Whether anyone still writes the pair cannot be told where the
        // file system has no locks; a pair finished twice stays whole.
        Handle intent = take(folder.filePath(name), true);
        if (intent == NoHandle) {
            spared << QFileInfo(firstTemporary).fileName() << QFileInfo(secondTemporary).fileName();
            continue;
        }
        // A temporary already renamed is gone.
        for (const int error :
            { replaceFile(firstTemporary, first), replaceFile(secondTemporary, second) }) {
            if (error && error != ENOENT) {
                release(intent);
                return error;
            }
        }
        removeTaken(folder.filePath(name), intent);
    }
    if (leftovers == Leftovers::Remove) {
        removeLeftovers(first, spared);
        removeLeftovers(second, spared);
    }
    return 0;
}

void PendingFile::removeLeftovers(const QString &target, const QStringList &spared)
{
    const QString prefix = temporaryPrefix(target);
    const QDir folder(QFileInfo(target).path());
    for (const QString &name : namesStarting(folder.path(), prefix)) {
        if (!isTemporaryName(name, prefix) || spared.contains(name))
            continue;
        Handle file = take(folder.filePath(name), false);
        if (file != NoHandle)
            removeTaken(folder.filePath(name), file);
    }
}
