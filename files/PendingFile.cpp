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

bool PendingFile::revert()
{
    if (!m_committed)
        return true;
    if (!m_oldExisted)
        return removeFile(m_target);
    if (!m_oldKept)
        return false;
    if (!m_oldLink.isEmpty()) {
        if (!replaceFile(m_oldLink, m_target))
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
