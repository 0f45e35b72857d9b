#include "files/PendingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

bool isTemporaryName(const QString &name, const QString &prefix)
{
    if (name.size() != prefix.size() + RandomLetters || !name.startsWith(prefix))
        return false;
    for (qsizetype i = prefix.size(); i < name.size(); ++i) {
        if (!QLatin1String(Letters).contains(name.at(i)))
            return false;
    }
    return true;
}

} // namespace

QString PendingFile::unusedName(const QString &target)
{
    QString name = QFileInfo(target).path() + QLatin1Char('/') + temporaryPrefix(target);
    for (int i = 0; i < RandomLetters; ++i)
        name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(62)]);
    return name;
}

PendingFile::PendingFile(const QString &target)
    : m_target(target)
{
    // A link is followed, so the file it points at gets the new content and
    // the link stays a link.
    const QFileInfo info(target);
    if (info.isSymLink())
        m_target = info.symLinkTarget();
}

PendingFile::~PendingFile()
{
    // Removed before their holds go, so no one else finds them unheld.
    if (!m_temporary.isEmpty() && !m_committed)
        removeFile(m_temporary);
    release(m_file);
    if (!m_oldLink.isEmpty())
        removeFile(m_oldLink);
    release(m_oldLinkHold);
}

bool PendingFile::open()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
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

void PendingFile::keepOld(OldCopy copy)
{
    const QFileInfo old(m_target);
    m_oldExisted = old.exists() || old.isSymLink();
    if (!m_oldExisted)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
        const int error = linkHeld(m_target, name, m_oldLinkHold);
        if (error == EEXIST)
            continue;
        if (error)
            break;
        m_oldLink = name;
        m_oldKept = true;
        return;
    }
    if (copy == OldCopy::LinkOrBytes)
        keepOldBytes();
}

bool PendingFile::commit()
{
    if (const int error = replaceFile(m_temporary, m_target))
        return fail(error);
    m_committed = true;
    // Its content is on the disk since finish(); the hold may go now.
    release(m_file);
    if (!m_oldLink.isEmpty())
        m_oldLinkHold = holdKept(m_oldLink, m_oldLinkHold);
    return true;
}

bool PendingFile::revert()
{
    if (!m_committed)
        return true;
    if (!m_oldExisted)
        return removeFile(m_target);
    if (!m_oldKept)
        return false;
    if (!m_oldLink.isEmpty()) {
        if (replaceFile(m_oldLink, m_target) != 0)
            return false;
        m_oldLink.clear();
        return true;
    }
    PendingFile old(m_target);
    return old.open() && old.write(m_oldBytes) && old.finish() && old.commit();
}

void PendingFile::keepOldBytes()
{
    QFile file(m_target);
    if (file.size() <= 64 * 1024 * 1024 && file.open(QIODevice::ReadOnly)) {
        m_oldBytes = file.readAll();
        m_oldKept = file.error() == QFileDevice::NoError;
    }
}

bool PendingFile::fail(int error)
{
    m_error = error ? error : EIO;
    return false;
}

void PendingFile::removeLeftovers(const QString &target)
{
    const QString prefix = temporaryPrefix(target);
    const QDir folder(QFileInfo(target).path());
    const QStringList names = folder.entryList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDir::Unsorted);
    for (const QString &name : names) {
        if (isTemporaryName(name, prefix))
            removeIfUnheld(folder.filePath(name));
    }
}
