#pragma once

#include <QString>

#include <functional>

// The print server's word on one printer. Qt's print layer hands the finished
// document to the server and reports success whatever the server answers, so
// a printer that refuses jobs, or has vanished, or whose server is gone would
// look as if it had printed. This asks the server itself: once before the
// page is painted and once after it was handed over. Built without CUPS, it
// has nothing to ask and trusts the print layer.
class PrintServer {
public:
    explicit PrintServer(const QString &printer);

    // Whether the program was built to ask a print server at all.
    static bool canAsk();

    // Before printing: why the printer cannot take a job now, as the end of a
    // sentence for the user; empty when it can.
    QString refusal();

    // After the page was handed over: why it will not print, when the server
    // refused it or reports it cancelled or aborted; empty otherwise, also
    // when the job waits in a stopped queue or is no longer listed.
    QString lostJob() const;

    // One print command: asks the server before, paints, and asks it after.
    // toServer is false for a page printed into a file, which no server
    // sees. Empty when the page came out, otherwise the whole sentence for
    // the user, with paintFailure as its reason when painting itself failed.
    QString print(bool toServer, const QString &paintFailure, const std::function<bool()> &paint);

private:
    QString m_printer;
    // The newest job on the printer before printing: a new job comes after it.
    int m_jobBefore = 0;
};
