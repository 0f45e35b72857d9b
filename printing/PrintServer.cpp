#include "printing/PrintServer.h"

#ifdef TROPINETS_HAVE_CUPS

#include <cups/cups.h>

#include <QLibrary>

#include <iterator>
#include <memory>
#include <type_traits>

namespace {

// libcups is opened on the first print, not linked: linked, it and the
// libraries it brings (TLS, Kerberos, Avahi) are loaded and set up at every
// start, and take memory all the time the program runs. Qt's print layer
// opens the very same library, so its last answer is still shared with us.
struct Cups {
    decltype(&::cupsLastError) lastError = nullptr;
    decltype(&::cupsLastErrorString) lastErrorString = nullptr;
    decltype(&::cupsGetJobs2) getJobs2 = nullptr;
    decltype(&::cupsFreeJobs) freeJobs = nullptr;
    decltype(&::cupsDoRequest) doRequest = nullptr;
    decltype(&::cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&::cupsFreeDests) freeDests = nullptr;
    decltype(&::httpAssembleURIf) assembleUri = nullptr;
    decltype(&::ippPort) port = nullptr;
    decltype(&::ippNewRequest) newRequest = nullptr;
    decltype(&::ippAddString) addString = nullptr;
    decltype(&::ippAddStrings) addStrings = nullptr;
    decltype(&::ippDelete) deleteIpp = nullptr;
    decltype(&::ippFindAttribute) findAttribute = nullptr;
    decltype(&::ippGetBoolean) getBoolean = nullptr;
    decltype(&::ippGetString) getString = nullptr;
    bool loaded = false;
};

// The library's functions, or loaded false when it or any of them is missing.
const Cups &cups()
{
    static const Cups found = [] {
        Cups c;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            return c;
        const auto get = [&library](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            return function != nullptr;
        };
        c.loaded = get(c.lastError, "cupsLastError")
            && get(c.lastErrorString, "cupsLastErrorString") && get(c.getJobs2, "cupsGetJobs2")
            && get(c.freeJobs, "cupsFreeJobs") && get(c.doRequest, "cupsDoRequest")
            && get(c.getNamedDest, "cupsGetNamedDest") && get(c.freeDests, "cupsFreeDests")
            && get(c.assembleUri, "httpAssembleURIf") && get(c.port, "ippPort")
            && get(c.newRequest, "ippNewRequest") && get(c.addString, "ippAddString")
            && get(c.addStrings, "ippAddStrings") && get(c.deleteIpp, "ippDelete")
            && get(c.findAttribute, "ippFindAttribute") && get(c.getBoolean, "ippGetBoolean")
            && get(c.getString, "ippGetString");
        return c;
    }();
    return found;
}

using Response = std::unique_ptr<ipp_t, decltype(&::ippDelete)>;

bool failed(ipp_status_t status)
{
    return status > IPP_STATUS_OK_EVENTS_COMPLETE;
}

// A printer's instance ("name/instance") is a set of options; the server
// knows only the queue.
QByteArray queueOf(const QString &printer)
{
    return printer.section(QLatin1Char('/'), 0, 0).toUtf8();
}

QString serverGone(const QString &printer)
{
    return QStringLiteral("принтер «%1» недоступен: сервер печати не отвечает.").arg(printer);
}

// What the server said last to this thread, as a clause of our own sentence.
QString serverReason()
{
    const QString said = QString::fromUtf8(cups().lastErrorString()).trimmed();
    if (said.isEmpty())
        return QString();
    return said.endsWith(QLatin1Char('.')) ? said.chopped(1) : said;
}

struct Job {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// This user's newest job on the queue, finished or not; id 0 when none.
Job newestJob(const QByteArray &queue)
{
    cups_job_t *jobs = nullptr;
    const int count
        = cups().getJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    Job newest;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id > newest.id)
            newest = { jobs[i].id, jobs[i].state };
    }
    cups().freeJobs(count, jobs);
    return newest;
}

} // namespace

PrintServer::PrintServer(const QString &printer)
    : m_printer(printer)
{
}

bool PrintServer::canAsk()
{
    return cups().loaded;
}

QString PrintServer::refusal()
{
    // No printer named: the print layer finds none and says so itself.
    if (m_printer.isEmpty() || !canAsk())
        return QString();
    const QByteArray queue = queueOf(m_printer);
    char uri[HTTP_MAX_URI];
    cups().assembleUri(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
        cups().port(), "/printers/%s", queue.constData());
    ipp_t *request = cups().newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups().addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = { "printer-is-accepting-jobs", "printer-state-message" };
    cups().addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
        int(std::size(wanted)), nullptr, wanted);
    const Response response(cups().doRequest(CUPS_HTTP_DEFAULT, request, "/"), cups().deleteIpp);
    const ipp_status_t status = cups().lastError();

    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || !response)
        return serverGone(m_printer);
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        // A printer found on the network gets its queue only when a job comes.
        if (cups_dest_t *dest
            = cups().getNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr)) {
            cups().freeDests(1, dest);
            return QString();
        }
        if (cups().lastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            return serverGone(m_printer);
        return QStringLiteral("принтера «%1» больше нет на сервере печати.").arg(m_printer);
    }
    if (failed(status)) {
        return QStringLiteral("сервер печати не ответил о принтере «%1»: %2.")
            .arg(m_printer, serverReason());
    }

    ipp_attribute_t *accepting
        = cups().findAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (accepting && !cups().getBoolean(accepting, 0)) {
        ipp_attribute_t *message
            = cups().findAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT);
        QString why = message ? QString::fromUtf8(cups().getString(message, 0, nullptr)).trimmed()
                              : QString();
        // The server's own word for a queue refused without a reason is
        // English and says nothing the sentence does not.
        if (why.compare(QLatin1String("Rejecting Jobs"), Qt::CaseInsensitive) == 0
            || why.compare(QLatin1String("Rejecting Jobs."), Qt::CaseInsensitive) == 0)
            why.clear();
        return why.isEmpty()
            ? QStringLiteral("принтер «%1» не принимает задания.").arg(m_printer)
            : QStringLiteral("принтер «%1» не принимает задания (%2).").arg(m_printer, why);
    }
    m_jobBefore = newestJob(queue).id;
    return QString();
}

QString PrintServer::lostJob() const
{
    if (m_printer.isEmpty() || !canAsk())
        return QString();
    // The print layer hands the document over with libcups on this thread,
    // so the server's answer to it is still the last one here.
    const ipp_status_t handedOver = cups().lastError();
    if (handedOver == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return serverGone(m_printer);
    if (failed(handedOver)) {
        const QString reason = serverReason();
        return reason.isEmpty()
            ? QStringLiteral("принтер «%1» не принял задание.").arg(m_printer)
            : QStringLiteral("принтер «%1» не принял задание: %2.").arg(m_printer, reason);
    }
    // Taken, the job is lost only on the server's word. A server that keeps
    // no history forgets a finished job at once, so a job no longer listed
    // has printed.
    const Job newest = newestJob(queueOf(m_printer));
    if (newest.id > m_jobBefore
        && (newest.state == IPP_JSTATE_CANCELED || newest.state == IPP_JSTATE_ABORTED))
        return QStringLiteral("принтер «%1» не принял задание.").arg(m_printer);
    return QString();
}

#else

PrintServer::PrintServer(const QString &printer)
    : m_printer(printer)
{
}

bool PrintServer::canAsk()
{
    return false;
}

QString PrintServer::refusal()
{
    return QString();
}

QString PrintServer::lostJob() const
{
    return QString();
}

#endif

QString PrintServer::print(
    bool toServer, const QString &paintFailure, const std::function<bool()> &paint)
{
    const QString notPrinted = QStringLiteral("Рассказ не напечатан: ");
    if (const QString why = toServer ? refusal() : QString(); !why.isEmpty())
        return notPrinted + why;
    if (!paint())
        return notPrinted + paintFailure;
    if (const QString why = toServer ? lostJob() : QString(); !why.isEmpty())
        return notPrinted + why;
    return QString();
}
