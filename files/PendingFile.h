#pragma once

#include <QByteArrayView>
#include <QString>

// A new content for a file, written beside it under a temporary name and
// synced to the disk before it replaces the file. Several can be made ready
// first and then committed back to back, so that a crash leaves either all
// old files or all new ones but for the moment between the renames.
// Until commit() the old file is untouched; a pending file never committed
// is removed.
class PendingFile {
public:
    explicit PendingFile(const QString &target);
    ~PendingFile();
    PendingFile(const PendingFile &) = delete;
    PendingFile &operator=(const PendingFile &) = delete;

    // Creates the temporary file, with the old file's permissions if any.
    bool open();
    bool write(QByteArrayView bytes);
    // Syncs the content to the disk and closes the temporary file.
    bool finish();
    // Keeps the old file under a second name (a hard link, or, when asked,
    // its bytes where the file system has no links), so revert() can put
    // it back and commit() need not free the old content while other files
    // wait.
    void keepOld(bool orItsBytes);
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

private:
    bool fail(int error);

    QString m_target;
    QString m_temporary;
    QString m_oldLink;
    QByteArray m_oldBytes;
    bool m_oldExisted = false;
    bool m_oldKept = false;
    int m_fd = -1;
    int m_error = 0;
    bool m_committed = false;
};
