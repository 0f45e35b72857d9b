#include "files/PendingFile.h"

#include <QDir>

#include <algorithm>
#include <cerrno>
#include <utility>
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

HANDLE native(qintptr file)
{
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

int PendingFile::createHeld(const QString &name, const QString &target, Handle &file)
{
    const DWORD attributes = GetFileAttributesW(native(target).c_str());
    // A file made read-only is not replaced behind its owner's back.
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? EISDIR : EACCES;
    // The new file takes the folder's inherited permissions, with its
    // creator as owner, as the installer grants in «Рассказы».
    const HANDLE handle = CreateFileW(native(name).c_str(), GENERIC_WRITE, ShareAll, nullptr,
        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return errnoFor(GetLastError());
    file = reinterpret_cast<Handle>(handle);
    return 0;
}

qint64 PendingFile::writeSome(Handle file, const char *data, qint64 size)
{
    DWORD written = 0;
    if (!WriteFile(native(file), data, DWORD(std::min<qint64>(size, 1 << 30)), &written, nullptr))
        return -errnoFor(GetLastError());
    return written;
}

int PendingFile::sync(Handle file)
{
    return FlushFileBuffers(native(file)) ? 0 : errnoFor(GetLastError());
}

int PendingFile::replaceFile(const QString &from, const QString &to)
{
    // Still held while it gets its name, so no copy clearing leftovers can
    // take it in between.
    return MoveFileExW(native(from).c_str(), native(to).c_str(),
               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
        ? 0
        : errnoFor(GetLastError());
}

int PendingFile::linkHeld(const QString &target, const QString &name, Handle &)
{
    // Unlike on Linux, the old file cannot be held yet: Windows replaces no
    // file that is open. commit() holds the second name once the first is
    // free; a copy clearing leftovers in that moment can only make revert()
    // fail, which is then said.
    if (CreateHardLinkW(native(name).c_str(), native(target).c_str(), nullptr))
        return 0;
    return errnoFor(GetLastError());
}

PendingFile::Handle PendingFile::holdKept(const QString &name, Handle)
{
    return reinterpret_cast<Handle>(CreateFileW(native(name).c_str(), GENERIC_READ, ShareAll,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool PendingFile::removeFile(const QString &path)
{
    return DeleteFileW(native(path).c_str());
}

void PendingFile::release(Handle &file)
{
    if (file != NoHandle)
        CloseHandle(native(std::exchange(file, NoHandle)));
}

int PendingFile::syncFolder(const QString &)
{
    // MOVEFILE_WRITE_THROUGH made the renames lasting already.
    return 0;
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
