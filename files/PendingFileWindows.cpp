#include "files/PendingFile.h"

#include <QDir>

#include <cerrno>
#include <windows.h>

// A file is held by keeping a handle open on it that lets others read,
// write, rename and delete it. Clearing leftovers opens a file with no
// sharing at all, which fails while any such handle is open; so a file that
// another running copy still writes or keeps is never taken for a leftover,
// and the holder itself may still rename it.

namespace {

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// The reasons the saving code tells a pupil in words, as the C library
// numbers them.
int errnoFor(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    default:
        return EIO;
    }
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE hold(const QString &name)
{
    return CreateFileW(native(name).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

void release(void *&handle)
{
    if (handle && handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = nullptr;
}

} // namespace

PendingFile::~PendingFile()
{
    // Removed before their handles go, so no one else finds them unheld.
    if (!m_temporary.isEmpty() && !m_committed)
        DeleteFileW(native(m_temporary).c_str());
    release(m_handle);
    if (!m_oldLink.isEmpty())
        DeleteFileW(native(m_oldLink).c_str());
    release(m_oldLinkHandle);
}

void PendingFile::keepOld(OldCopy copy)
{
    const DWORD attributes = GetFileAttributesW(native(m_target).c_str());
    m_oldExisted = attributes != INVALID_FILE_ATTRIBUTES;
    if (!m_oldExisted)
        return;
    // Unlike on Linux, the old file cannot be held yet: Windows replaces no
    // file that is open. commit() holds the second name once the first is
    // free; a copy clearing leftovers in that moment can only make revert()
    // fail, which is then said.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
        if (CreateHardLinkW(native(name).c_str(), native(m_target).c_str(), nullptr)) {
            m_oldLink = name;
            m_oldKept = true;
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break;
    }
    if (copy == OldCopy::LinkOrBytes)
        keepOldBytes();
}

bool PendingFile::open()
{
    const DWORD attributes = GetFileAttributesW(native(m_target).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return fail(EISDIR);
        // A file made read-only is not replaced behind its owner's back.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return fail(EACCES);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = unusedName(m_target);
        // The new file takes the folder's inherited permissions, with its
        // creator as owner, as the installer grants in «Рассказы».
        const HANDLE handle = CreateFileW(native(name).c_str(), GENERIC_WRITE, ShareAll, nullptr,
            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            return fail(errnoFor(error));
        }
        m_handle = handle;
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
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(m_handle, data, chunk, &written, nullptr))
            return fail(errnoFor(GetLastError()));
        if (written == 0)
            return fail(ENOSPC);
        data += written;
        left -= written;
    }
    return true;
}

bool PendingFile::finish()
{
    if (!FlushFileBuffers(m_handle))
        return fail(errnoFor(GetLastError()));
    return true;
}

bool PendingFile::commit()
{
    // Still held while it gets its name, so no copy clearing leftovers can
    // take it in between.
    if (!replaceFile(m_temporary, m_target))
        return fail(errnoFor(GetLastError()));
    m_committed = true;
    release(m_handle);
    if (!m_oldLink.isEmpty())
        m_oldLinkHandle = hold(m_oldLink);
    return true;
}

int PendingFile::syncFolder(const QString &)
{
    // MOVEFILE_WRITE_THROUGH made the renames lasting already.
    return 0;
}

bool PendingFile::replaceFile(const QString &from, const QString &to)
{
    return MoveFileExW(native(from).c_str(), native(to).c_str(),
        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool PendingFile::removeFile(const QString &path)
{
    return DeleteFileW(native(path).c_str());
}

void PendingFile::removeIfUnheld(const QString &path)
{
    // No sharing at all: fails while anyone holds the file open, and when it
    // does open, the file goes as it closes.
    const HANDLE handle = CreateFileW(native(path).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
        FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}
