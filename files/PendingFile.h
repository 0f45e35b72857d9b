#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// A new content for a file, written beside it under a temporary name and
// synced to the disk before it replaces the file. Until commit() the old
// file is untouched; a pending file never committed is removed.
//
// Two files that belong together are committed as a pair: an empty file
// named after both temporaries records first that the pair is decided, so
// that a save killed between the two renames is completed by finishPair(),
// which the next save and the next reading call. No hard links are needed,
// so the pair stays whole on FAT and exFAT sticks too.
//
// The temporary names are hidden (".fox.txt.tropinets-Ab12Cd"), so file
// dialogs do not list what a crash leaves, and the next save clears it.
// Each such file is locked while this object holds it (flock; on Windows, an
// open handle), so a file another running copy still writes is never taken
// for a leftover.
class PendingFile {
public:
    explicit PendingFile(const QString &target);
    ~PendingFile();
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    // Creates the temporary file, with the old file's permissions if any and
    // 0644 otherwise, whatever the umask: a shared group must not be able
    // to rewrite a pupil's story.
    bool open();
    bool write(QByteArrayView bytes);
    // Syncs the content to the disk. The file stays open, and locked, until
    // it is committed or dropped.
    bool finish();
    // Renames the temporary file over the target.
    bool commit();
    // Commits two finished files as one. False, with the error in the file
    // that failed, when either was not committed; once the first rename is
    // made the new pair is decided, and finishPair() completes it.
    static bool commitPair(PendingFile &first, PendingFile &second);

    // The system's error number of the failure, 0 before one.
    int error() const { return m_error; }
    QString target() const { return m_target; }

    // Makes the renames in a folder lasting. A file system that cannot sync
    // a folder is not counted as failing.
    static int syncFolder(const QString &folder);

    // Completes every commitPair() of these targets that was cut short and
    // that no running save holds; with leftovers, then removes their
    // temporaries that no one holds. The error when a pair could not be
    // completed, else 0.
    enum class Leftovers { Keep, Remove };
    static int finishPair(const QString &first, const QString &second, Leftovers leftovers);
    // Removes the temporary files of target that no one holds any more:
    // what a save killed in the middle left.
    static void removeLeftovers(const QString &target, const QStringList &spared = {});

private:
    bool fail(int error);

    // What the system does differently (PendingFilePosix.cpp,
    // PendingFileWindows.cpp). A file is held by a descriptor or a HANDLE,
    // NoHandle when none; errors are numbered as the C library numbers them,
    // 0 when there is none.
    using Handle = qintptr;
    static constexpr Handle NoHandle = -1;
    // Creates the file name, which must not exist yet, with the target's
    // permissions, and holds it. EEXIST when the name is taken; an error
    // when the target may not be replaced.
    static int createHeld(const QString &name, const QString &target, Handle &file);
    // Writes some of the bytes: how many, or minus the error.
    static qint64 writeSome(Handle file, const char *data, qint64 size);
    static int sync(Handle file);
    static int replaceFile(const QString &from, const QString &to);
    static bool removeFile(const QString &path);
    static void release(Handle &file);
    // Holds an existing file that no one else holds, so that it can be
    // finished or removed; NoHandle when someone does. Where the file system
    // has no locks, whether anyone holds it cannot be told: then only when
    // asked.
    static Handle take(const QString &path, bool withoutLocks);
    // Removes a file that take() holds, and lets it go.
    static void removeTaken(const QString &path, Handle &file);

    QString m_target;
    QString m_temporary;
    Handle m_file = NoHandle;
    int m_error = 0;
    bool m_committed = false;
};
