#include "printing/PrintServer.h"

#ifdef TROPINETS_HAVE_CUPS

#include <cups/cups.h>

#include <iterator>
#include <memory>

namespace {

using Response = std::unique_ptr<ipp_t, decltype(&ippDelete)>;

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
    const QString said = QString::fromUtf8(cupsLastErrorString()).trimmed();
    if (said.isEmpty())
        return QString();
    return said.endsWith(QLatin1Char('.')) ? said.chopped(1) : said;
}

struct Job
{
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
};

// This user's newest job on the queue, finished or not; id 0 when none.
Job newestJob(const QByteArray &queue)
{
    cups_job_t *jobs = nullptr;
    const int count
        = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    Job newest;
    for (int i = 0; i < count; ++i) {
        if (jobs[i].id > newest.id)
            newest = { jobs[i].id, jobs[i].state };
    }
    cupsFreeJobs(count, jobs);
    return newest;
}

} // namespace

PrintServer::PrintServer(const QString &printer)
    : m_printer(printer)
{
}

bool PrintServer::canAsk()
{
    return true;
}

QString PrintServer::refusal()
{
    // No printer named: the print layer finds none and says so itself.
    if (m_printer.isEmpty())
        return QString();
    const QByteArray queue = queueOf(m_printer);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
        "/printers/%s", queue.constData());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = { "printer-is-accepting-jobs", "printer-state-message" };
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
        int(std::size(wanted)), nullptr, wanted);
    const Response response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"), ippDelete);
    const ipp_status_t status = cupsLastError();

    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || !response)
        return serverGone(m_printer);
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        // A printer found on the network gets its queue only when a job comes.
        if (cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr)) {
            cupsFreeDests(1, dest);
            return QString();
        }
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            return serverGone(m_printer);
        return QStringLiteral("принтера «%1» больше нет на сервере печати.").arg(m_printer);
    }
    if (failed(status)) {
        return QStringLiteral("сервер печати не ответил о принтере «%1»: %2.")
            .arg(m_printer, serverReason());
    }

    ipp_attribute_t *accepting
        = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (accepting && !ippGetBoolean(accepting, 0)) {
        ipp_attribute_t *message
            = ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT);
        const QString why
            = message ? QString::fromUtf8(ippGetString(message, 0, nullptr)).trimmed() : QString();
        return why.isEmpty()
            ? QStringLiteral("принтер «%1» не принимает задания.").arg(m_printer)
            : QStringLiteral("принтер «%1» не принимает задания (%2).").arg(m_printer, why);
    }
    m_jobBefore = newestJob(queue).id;
    return QString();
}

QString PrintServer::lostJob() const
{
    if (m_printer.isEmpty())
        return QString();
    // The print layer hands the document over with libcups on this thread,
    // so the server's answer to it is still the last one here.
    const ipp_status_t handedOver = cupsLastError();
    const QString reason = serverReason();

    const Job newest = newestJob(queueOf(m_printer));
    if (newest.id > m_jobBefore && newest.state != IPP_JSTATE_CANCELED
        && newest.state != IPP_JSTATE_ABORTED)
        return QString();
    if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return serverGone(m_printer);
    if (failed(handedOver) && !reason.isEmpty())
        return QStringLiteral("принтер «%1» не принял задание: %2.").arg(m_printer, reason);
    return QStringLiteral("принтер «%1» не принял задание.").arg(m_printer);
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

QString PrintServer::print(bool toServer, const QString &paintFailure,
                           const std::function<bool()> &paint)
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
