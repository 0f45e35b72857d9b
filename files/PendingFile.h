#pragma once

#include <QByteArrayView>
#include <QString>

// A new content for a file, written beside it under a temporary name and
// synced to the disk before it replaces the file. Several can be made ready
// first and then committed back to back, so that a crash leaves either all
// old files or all new ones but for the moment between the renames.
// Until commit() the old file is untouched; a pending file never committed
// is removed.
//
// The temporary names are hidden (".fox.txt.tropinets-Ab12Cd"), so file
// dialogs do not list what a crash leaves, and removeLeftovers() clears it on
// the next save. Each such file is locked while this object holds it (flock;
// on Windows, an open handle), so a file another running copy still writes is
// never taken for a leftover.
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
    // Keeps the old file under a second name (a hard link, or, when asked,
    // its bytes where the file system has no links), so revert() can put
    // it back and commit() need not free the old content while other files
    // wait.
    enum class OldCopy { Link, LinkOrBytes };
    void keepOld(OldCopy copy);
    // Renames the temporary file over the target.
    bool commit();
    // After commit(): puts the kept old file back, or removes the new one
    // when there was none. False when that is not possible.
    bool revert();

    // The system's error number of the failure, 0 before one.
    int error() const { return m_error; }
    QString target() const { return m_target; }

    // Makes the renames in a folder lasting. A file system that cannot sync
    // a folder is not counted as failing.
    static int syncFolder(const QString &folder);

    // Removes the temporary files of target that no one holds any more:
    // what a save killed in the middle left.
    static void removeLeftovers(const QString &target);

private:
    bool fail(int error);
    // Where the file system has no links: the old file's bytes.
    void keepOldBytes();
    static QString unusedName(const QString &target);

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
    // Gives the target the second name, held where the system can hold it
    // already. EEXIST when the name is taken.
    static int linkHeld(const QString &target, const QString &name, Handle &hold);
    // Holds the kept old file once the new one has taken its first name.
    static Handle holdKept(const QString &name, Handle held);
    static bool removeFile(const QString &path);
    static void release(Handle &file);
    static void removeIfUnheld(const QString &path);

    QString m_target;
    QString m_temporary;
    QString m_oldLink;
    QByteArray m_oldBytes;
    bool m_oldExisted = false;
    bool m_oldKept = false;
    Handle m_file = NoHandle;
    Handle m_oldLinkHold = NoHandle; // keeps the kept old file from being taken for a leftover
    int m_error = 0;
    bool m_committed = false;
};
