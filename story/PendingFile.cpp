#include "story/PendingFile.h"

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
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = m_target + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(62)]);
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
