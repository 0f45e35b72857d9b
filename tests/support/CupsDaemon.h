#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A private CUPS print server for one test program. Its configuration,
// spool, state, logs and printed files live in a temporary folder; it listens
// only on a socket file there, which the program reaches through CUPS_SERVER.
// It has one cups-pdf queue, its default. The machine's own printing is left
// alone, but for the one file cups-pdf reads its output folder from, which
// the daemon removes again. The daemon stops with this object, and with the
// test program should that die first.
class CupsDaemon {
public:
    CupsDaemon();
    ~CupsDaemon();
    CupsDaemon(const CupsDaemon &) = delete;
    CupsDaemon &operator=(const CupsDaemon &) = delete;

    static constexpr const char *Queue = "pdf";

    // Starts the daemon (again, after stop()) and gives it a fresh queue that
    // takes jobs, as the default. Empty when it runs; otherwise why not.
    QString start();
    // Whether the next start() keeps finished jobs listed (CUPS's default)
    // or forgets them at once, as some servers are set up.
    void keepJobHistory(bool keep) { m_keepJobHistory = keep; }
    // A fresh queue in place of the old one, whatever was done to that, and
    // no jobs or printed files of before.
    QString resetQueue();
    // The server goes away, its queue with it.
    void stop();
    bool isRunning() const { return m_daemon.state() == QProcess::Running; }

    // Runs a CUPS tool (lpadmin, cupsreject, ...) on this server; empty when
    // it succeeded, otherwise its complaint.
    QString run(const QString &tool, const QStringList &arguments) const;

    // Why the queue cannot write its pages where the tests read them; empty
    // when it can.
    static QString pagesUnreadable();
    // The PDF files the queue has written, oldest first.
    QStringList printedFiles() const;
    // The documents the server was handed for its jobs, before its filters.
    QStringList handedOverFiles() const;
    // Jobs of the queue, finished or not, as the server lists them.
    int jobCount() const;
    // Waits until the queue holds no unfinished job; false at the deadline.
    bool waitUntilDone(int deadlineMs = 60000) const;

    QString folder() const { return m_dir.path(); }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString writeConfiguration();

    QTemporaryDir m_dir;
    QString m_device; // the cups-pdf device's name, unique to this program
    QString m_pdfConfig; // the file in /etc/cups that cups-pdf reads
    QProcess m_daemon;
    bool m_keepJobHistory = true;
};
