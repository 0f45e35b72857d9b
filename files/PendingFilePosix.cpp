#include "files/PendingFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

int PendingFile::createHeld(const QString &name, const QString &target, Handle &file)
{
    struct stat old;
    const bool existed = ::stat(encoded(target).constData(), &old) == 0;
    // A file made read-only is not replaced behind its owner's back.
    if (existed && ::access(encoded(target).constData(), W_OK) != 0)
        return errno;
    // Only its owner may open it until it has its mode.
    const int fd = ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    // A file system without locks leaves it unlocked; no copy can then
    // lock it either, and none takes it for a leftover.
    const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (taken || !stillNamed(fd, name)) {
        ::close(fd);
        return EEXIST;
    }
    if (::fchmod(fd, existed ? old.st_mode & 07777 : 0644) != 0) {
        const int error = errno;
        ::unlink(encoded(name).constData());
        ::close(fd);
        return error;
    }
    file = fd;
    return 0;
}

qint64 PendingFile::writeSome(Handle file, const char *data, qint64 size)
{
    ssize_t written;
    do
        written = ::write(int(file), data, size_t(size));
    while (written < 0 && errno == EINTR);
    return written < 0 ? -errno : written;
}

int PendingFile::sync(Handle file)
{
    return ::fsync(int(file)) == 0 ? 0 : errno;
}

int PendingFile::replaceFile(const QString &from, const QString &to)
{
    return ::rename(encoded(from).constData(), encoded(to).constData()) == 0 ? 0 : errno;
}

int PendingFile::linkHeld(const QString &target, const QString &name, Handle &hold)
{
    // Locked before it has its second name, so that no copy clearing
    // leftovers takes it while revert() may still need it.
    const int fd = openToLock(target);
    if (fd >= 0)
        ::flock(fd, LOCK_EX | LOCK_NB);
    if (::link(encoded(target).constData(), encoded(name).constData()) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        return error;
    }
    // Another save may have replaced the file in between.
    if (fd >= 0 && !stillNamed(fd, name)) {
        ::unlink(encoded(name).constData());
        ::close(fd);
        return EEXIST;
    }
    hold = fd;
    return 0;
}

PendingFile::Handle PendingFile::holdKept(const QString &, Handle held)
{
    return held;
}

bool PendingFile::removeFile(const QString &path)
{
    return ::unlink(encoded(path).constData()) == 0;
}

void PendingFile::release(Handle &file)
{
    if (file != NoHandle)
        ::close(int(std::exchange(file, NoHandle)));
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
