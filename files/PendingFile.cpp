#include "files/PendingFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

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
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.isEmpty() && !m_committed)
        ::unlink(encoded(m_temporary).constData());
    if (!m_oldLink.isEmpty())
        ::unlink(encoded(m_oldLink).constData());
}

namespace {

QString unusedName(const QString &target)
{
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = target + QLatin1Char('.');
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(62)]);
    return name;
}

} // namespace

void PendingFile::keepOld(bool orItsBytes)
{
    struct stat old;
    m_oldExisted = ::lstat(encoded(m_target).constData(), &old) == 0;
    if (!m_oldExisted)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
        if (::link(encoded(m_target).constData(), encoded(name).constData()) == 0) {
            m_oldLink = name;
            m_oldKept = true;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    QFile file(m_target);
    if (orItsBytes && file.size() <= 64 * 1024 * 1024 && file.open(QIODevice::ReadOnly)) {
        m_oldBytes = file.readAll();
        m_oldKept = file.error() == QFileDevice::NoError;
    }
}

bool PendingFile::revert()
{
    if (!m_committed)
        return true;
    if (!m_oldExisted)
        return ::unlink(encoded(m_target).constData()) == 0;
    if (!m_oldKept)
        return false;
    if (!m_oldLink.isEmpty()) {
        if (::rename(encoded(m_oldLink).constData(), encoded(m_target).constData()) != 0)
            return false;
        m_oldLink.clear();
        return true;
    }
    PendingFile old(m_target);
    return old.open() && old.write(m_oldBytes) && old.finish() && old.commit();
}

bool PendingFile::fail(int error)
{
    m_error = error ? error : EIO;
    return false;
}

bool PendingFile::open()
{
    struct stat old;
    const bool existed = ::stat(encoded(m_target).constData(), &old) == 0;
    // A file made read-only is not replaced behind its owner's back.
    if (existed && ::access(encoded(m_target).constData(), W_OK) != 0)
        return fail(errno);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
        m_fd = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = name;
            if (existed && ::fchmod(m_fd, old.st_mode & 07777) != 0)
                return fail(errno);
            return true;
        }
        if (errno != EEXIST)
            return fail(errno);
    }
    return fail(EEXIST);
}

bool PendingFile::write(QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC);
        data += n;
        left -= n;
    }
    return true;
}

bool PendingFile::finish()
{
    // A full disk can first show here, when delayed writes are made.
    const bool synced = ::fsync(m_fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(std::exchange(m_fd, -1)) == 0;
    if (!synced)
        return fail(syncError);
    if (!closed)
        return fail(errno);
    return true;
}

bool PendingFile::commit()
{
    if (::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0)
        return fail(errno);
    m_committed = true;
    return true;
}

int PendingFile::syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int result = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result == EIO ? EIO : 0;
}
