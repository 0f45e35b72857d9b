#include "files/PendingFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Whether the open file is still the one of that name: a copy clearing
// leftovers may have removed the name between its creation and its lock.
bool stillNamed(int fd, const QString &name)
{
    struct stat opened, named;
    return ::fstat(fd, &opened) == 0 && ::lstat(encoded(name).constData(), &named) == 0
        && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Opens a file only to hold or test its lock: never through a link, never
// waiting on a pipe, and for writing, which changes nothing, when its owner
// may not read it.
int openToLock(const QString &name)
{
    const QByteArray path = encoded(name);
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = ::open(path.constData(), O_RDONLY | flags);
    return fd >= 0 || errno != EACCES ? fd : ::open(path.constData(), O_WRONLY | flags);
}

} // namespace

PendingFile::~PendingFile()
{
    // Removed before their locks go, so no one else finds them unlocked.
    if (!m_temporary.isEmpty() && !m_committed)
        ::unlink(encoded(m_temporary).constData());
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_oldLink.isEmpty())
        ::unlink(encoded(m_oldLink).constData());
    if (m_oldLinkFd >= 0)
        ::close(m_oldLinkFd);
}

void PendingFile::keepOld(OldCopy copy)
{
    struct stat old;
    m_oldExisted = ::lstat(encoded(m_target).constData(), &old) == 0;
    if (!m_oldExisted)
        return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Locked before it has its second name, so that no copy clearing
        // leftovers takes it while revert() may still need it.
        const int fd = openToLock(m_target);
        if (fd >= 0)
            ::flock(fd, LOCK_EX | LOCK_NB);
        const QString name = unusedName(m_target);
        if (::link(encoded(m_target).constData(), encoded(name).constData()) != 0) {
            const int error = errno;
            if (fd >= 0)
                ::close(fd);
            if (error == EEXIST)
                continue;
            break;
        }
        // Another save may have replaced the file in between.
        if (fd >= 0 && !stillNamed(fd, name)) {
            ::unlink(encoded(name).constData());
            ::close(fd);
            continue;
        }
        m_oldLink = name;
        m_oldLinkFd = fd;
        m_oldKept = true;
        return;
    }
    if (copy == OldCopy::LinkOrBytes)
        keepOldBytes();
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
        // Only its owner may open it until it has its mode.
        const int fd
            = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return fail(errno);
        }
        // A file system without locks leaves it unlocked; no copy can then
        // lock it either, and none takes it for a leftover.
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (taken || !stillNamed(fd, name)) {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_temporary = name;
        if (::fchmod(m_fd, existed ? old.st_mode & 07777 : 0644) != 0)
            return fail(errno);
        return true;
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
    if (::fsync(m_fd) != 0)
        return fail(errno);
    return true;
}

bool PendingFile::commit()
{
    if (::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0)
        return fail(errno);
    m_committed = true;
    // Its content is on the disk since finish(); the lock may go now.
    ::close(std::exchange(m_fd, -1));
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

bool PendingFile::replaceFile(const QString &from, const QString &to)
{
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

bool PendingFile::removeFile(const QString &path)
{
    return ::unlink(encoded(path).constData()) == 0;
}

void PendingFile::removeIfUnheld(const QString &path)
{
    const int fd = openToLock(path);
    if (fd < 0)
        return;
    // A copy that still writes or keeps the file holds its lock.
    struct stat info;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
        && stillNamed(fd, path))
        ::unlink(encoded(path).constData());
    ::close(fd);
}
