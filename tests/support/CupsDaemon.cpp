#include "support/CupsDaemon.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString CupsPdfBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString CupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString SystemCupsFolder = QStringLiteral("/etc/cups");
const QString DevicePrefix = QStringLiteral("tropinets-test-");

// The daemon's folder: in /tmp rather than a TMPDIR that the daemon's own
// user may not reach, and short enough for the socket's name.
QString folderTemplate()
{
    return QStringLiteral("/tmp/") + DevicePrefix
        + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX");
}

bool belongsToGoneProgram(const QString &name)
{
    static const QRegularExpression pidIn(DevicePrefix + QStringLiteral("(\\d+)[-.]"));
    const auto match = pidIn.match(name);
    return match.hasMatch() && !QFileInfo::exists(QStringLiteral("/proc/") + match.captured(1));
}

// A test program killed outright leaves its cups-pdf file and its folder
// behind; the next one clears those of programs that are gone.
void removeStaleLeftovers()
{
    QDir etc(SystemCupsFolder);
    const QString pdfConfigs
        = QStringLiteral("cups-pdf-") + DevicePrefix + QStringLiteral("*.conf");
    for (const QString &name : etc.entryList({ pdfConfigs }, QDir::Files)) {
        if (belongsToGoneProgram(name))
            etc.remove(name);
    }
    QDir tmp(QStringLiteral("/tmp"));
    for (const QString &name : tmp.entryList({ DevicePrefix + QLatin1Char('*') }, QDir::Dirs)) {
        if (belongsToGoneProgram(name))
            QDir(tmp.filePath(name)).removeRecursively();
    }
}

// CUPS tools speak the user's language; the tests read their English.
void startTool(QProcess &process, const QString &tool, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(text.toUtf8()) == text.toUtf8().size() && file.flush();
}

} // namespace

CupsDaemon::CupsDaemon()
    : m_dir(folderTemplate())
    , m_device(DevicePrefix + QString::number(QCoreApplication::applicationPid()))
    , m_pdfConfig(
          SystemCupsFolder + QStringLiteral("/cups-pdf-") + m_device + QStringLiteral(".conf"))
{
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.setStandardOutputFile(path(QStringLiteral("cupsd.out")));
    // Should the test program die without cleaning up, the daemon goes too.
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

CupsDaemon::~CupsDaemon()
{
    stop();
    QFile::remove(m_pdfConfig);
}

QString CupsDaemon::writeConfiguration()
{
    const QString dir = m_dir.path();
    // Filters run as the daemon's own user (lp), which must reach the folder.
    QFile::setPermissions(dir,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
            | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
            | QFileDevice::ExeOther);
    for (const char *sub : { "etc", "spool", "cache", "state", "tmp", "log", "out" }) {
        if (!QDir(dir).mkpath(QLatin1String(sub)))
            return QStringLiteral("cannot create %1/%2").arg(dir, QLatin1String(sub));
    }
    // Every user the daemon and cups-pdf switch to writes temporary files here.
    if (::chmod(QFile::encodeName(path(QStringLiteral("tmp"))).constData(), 01777) != 0)
        return QStringLiteral("cannot open %1/tmp to all").arg(dir);

    const QString daemonConfig = QStringLiteral(
        "LogLevel info\n"
        "Listen %1/cups.sock\n"
        "Browsing No\n"
        "WebInterface No\n"
        "DefaultAuthType None\n"
        "PreserveJobFiles Yes\n"
        "PreserveJobHistory %2\n"
        "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
        "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                                     .arg(dir, m_keepJobHistory ? "Yes" : "No");
    const QString filesConfig = QStringLiteral("ServerRoot %1/etc\n"
                                               "RequestRoot %1/spool\n"
                                               "CacheDir %1/cache\n"
                                               "StateDir %1/state\n"
                                               "TempDir %1/tmp\n"
                                               "AccessLog %1/log/access_log\n"
                                               "ErrorLog %1/log/error_log\n"
                                               "PageLog %1/log/page_log\n"
                                               "Printcap %1/printcap\n")
                                    .arg(dir);
    const QString pdfConfig = QStringLiteral("Out %1/out\n"
                                             "Spool %1/cups-pdf\n"
                                             "Log %1/log\n"
                                             "GSTmp %1/tmp\n")
                                  .arg(dir);
    if (!writeText(path(QStringLiteral("cupsd.conf")), daemonConfig)
        || !writeText(path(QStringLiteral("cups-files.conf")), filesConfig))
        return QStringLiteral("cannot write the daemon's configuration in %1").arg(dir);
    if (!writeText(m_pdfConfig, pdfConfig))
        return QStringLiteral("cannot write %1").arg(m_pdfConfig);
    return QString();
}

QString CupsDaemon::start()
{
    if (isRunning())
        stop();
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder for the print server");
    const QString cupsd = QStandardPaths::findExecutable(
        QStringLiteral("cupsd"), { QStringLiteral("/usr/sbin"), QStringLiteral("/sbin") });
    if (cupsd.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty())
        return QStringLiteral("CUPS is not installed (packages cups, cups-client)");
    if (!QFileInfo::exists(CupsPdfBackend) || !QFileInfo::exists(CupsPdfPpd))
        return QStringLiteral("cups-pdf is not installed (package printer-driver-cups-pdf)");
    // The cups-pdf backend runs only for a daemon started by root.
    if (::geteuid() != 0)
        return QStringLiteral("a private CUPS daemon with cups-pdf needs root");
    if (!QFileInfo(SystemCupsFolder).isDir())
        return QStringLiteral("%1 is missing").arg(SystemCupsFolder);

    removeStaleLeftovers();
    if (const QString failed = writeConfiguration(); !failed.isEmpty())
        return failed;
    // libcups reads this once, at its first use: before any printer is made.
    qputenv("CUPS_SERVER", path(QStringLiteral("cups.sock")).toLocal8Bit());
    // These would name another default printer than the server's.
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");

    QFile::remove(path(QStringLiteral("cups.sock")));
    m_daemon.start(cupsd,
        { QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("cupsd.conf")),
            QStringLiteral("-s"), path(QStringLiteral("cups-files.conf")) });
    if (!m_daemon.waitForStarted(10000))
        return QStringLiteral("cupsd did not start: ") + m_daemon.errorString();
    const QDeadlineTimer deadline(20000);
    const auto answers = [] {
        QProcess lpstat;
        startTool(lpstat, QStringLiteral("lpstat"), { QStringLiteral("-r") });
        // It says whether the scheduler runs, and exits with 0 either way.
        return lpstat.waitForFinished(30000)
            && lpstat.readAllStandardOutput().trimmed() == "scheduler is running";
    };
    while (!QFileInfo::exists(path(QStringLiteral("cups.sock"))) || !answers()) {
        if (!isRunning() || deadline.hasExpired()) {
            QFile log(path(QStringLiteral("log/error_log")));
            log.open(QIODevice::ReadOnly);
            return QStringLiteral("cupsd did not come up: ")
                + QString::fromLocal8Bit(log.readAll().right(2000));
        }
        QThread::msleep(50);
    }

    return resetQueue();
}

QString CupsDaemon::resetQueue()
{
    const QString queue = QLatin1String(Queue);
    // Jobs and pages of earlier tests, history included, would be counted.
    run(QStringLiteral("cancel"), { QStringLiteral("-a"), QStringLiteral("-x") });
    run(QStringLiteral("lpadmin"), { QStringLiteral("-x"), queue });
    QDir out(path(QStringLiteral("out")));
    for (const QString &name : out.entryList(QDir::Files))
        out.remove(name);
    if (QString failed = run(QStringLiteral("lpadmin"),
            { QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("cups-pdf:/") + m_device, QStringLiteral("-P"), CupsPdfPpd });
        !failed.isEmpty())
        return QStringLiteral("lpadmin could not add the queue: ") + failed;
    if (QString failed = run(QStringLiteral("lpadmin"), { QStringLiteral("-d"), queue });
        !failed.isEmpty())
        return QStringLiteral("lpadmin could not make the queue the default: ") + failed;
    return QString();
}

void CupsDaemon::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(10000)) {
        m_daemon.kill();
        m_daemon.waitForFinished(10000);
    }
}

QString CupsDaemon::run(const QString &tool, const QStringList &arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    startTool(process, tool, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return tool + QStringLiteral(" did not finish");
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return output.isEmpty() ? tool + QStringLiteral(" failed") : output;
    return QString();
}

QString CupsDaemon::pagesUnreadable()
{
    // Where AppArmor confines cups-pdf, it reads only its system-wide file
    // and writes only into the system's folders, not into the test's.
    QFile profiles(QStringLiteral("/sys/kernel/security/apparmor/profiles"));
    if (profiles.open(QIODevice::ReadOnly)
        && profiles.readAll().contains(QFile::encodeName(CupsPdfBackend) + " (enforce)"))
        return QStringLiteral("AppArmor keeps cups-pdf out of the test's folders");
    return QString();
}

QStringList CupsDaemon::printedFiles() const
{
    QStringList files;
    const QFileInfoList found
        = QDir(path(QStringLiteral("out")))
              .entryInfoList({ QStringLiteral("*.pdf") }, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &info : found)
        files << info.filePath();
    return files;
}

QStringList CupsDaemon::handedOverFiles() const
{
    QStringList files;
    // Kept by PreserveJobFiles: d<job>-<document> beside the jobs' c<job> files.
    const QDir spool(path(QStringLiteral("spool")));
    for (const QString &name : spool.entryList({ QStringLiteral("d*") }, QDir::Files, QDir::Name))
        files << spool.filePath(name);
    return files;
}

int CupsDaemon::jobCount() const
{
    QProcess lpstat;
    startTool(lpstat, QStringLiteral("lpstat"),
        { QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"),
            QLatin1String(Queue) });
    if (!lpstat.waitForFinished(30000) || lpstat.exitCode() != 0)
        return -1;
    return QString::fromLocal8Bit(lpstat.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .size();
}

bool CupsDaemon::waitUntilDone(int deadlineMs) const
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!deadline.hasExpired()) {
        QProcess lpstat;
        startTool(lpstat, QStringLiteral("lpstat"), { QStringLiteral("-o"), QLatin1String(Queue) });
        if (lpstat.waitForFinished(30000) && lpstat.exitCode() == 0
            && lpstat.readAllStandardOutput().trimmed().isEmpty())
            return true;
        QThread::msleep(100);
    }
    return false;
}
