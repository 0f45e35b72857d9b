#include "support/SpeechDaemon.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

SpeechDaemon::SpeechDaemon()
    : m_dir(QStringLiteral("/tmp/tropinets-speech-XXXXXX")) // short: the socket's name
{
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.setStandardOutputFile(path(QStringLiteral("daemon.out")));
#ifdef Q_OS_LINUX
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}

SpeechDaemon::~SpeechDaemon()
{
    m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

QString SpeechDaemon::start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"));
    if (daemon.isEmpty())
        return QStringLiteral("speech-dispatcher is not installed");
    // The voice's delimiter is in none of the texts: each comes whole, not
    // by sentences.
    const QString files[][2] = {
        { QStringLiteral("speechd.conf"),
            QStringLiteral("AddModule \"file\" \"sd_generic\" \"file.conf\"\nDefaultModule file\n"
                           "DefaultLanguage \"ru\"\nAudioOutputMethod \"alsa\"\n"
                           "AudioALSADevice \"null\"\nLogDir \"%1\"\n") },
        { QStringLiteral("modules/file.conf"),
            QStringLiteral("GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> "
                           "%1/spoken.txt; echo $RATE >> %1/rates.txt; sleep 30\"\n"
                           "GenericDelimiters \"~\"\n"
                           "GenericMaxChunkLength 100000\nGenericLanguage \"ru\" \"ru\" \"utf-8\"\n"
                           "AddVoice \"ru\" \"MALE1\" \"ru\"\n") },
    };
    QDir(m_dir.path()).mkpath(QStringLiteral("conf/modules"));
    for (const auto &[name, text] : files) {
        QFile file(path(QStringLiteral("conf/") + name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text.arg(m_dir.path()).toUtf8()) < 0)
            return QStringLiteral("cannot configure the speech server in ") + m_dir.path();
    }
    // No timeout of its own, or it would leave when the program does not
    // speak: it stops with the test.
    const QString socket = path(QStringLiteral("speechd.sock"));
    m_daemon.start(daemon,
        { QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-C"),
            path(QStringLiteral("conf")), QStringLiteral("-P"), path(QStringLiteral("speechd.pid")),
            QStringLiteral("-c"), QStringLiteral("unix_socket"), QStringLiteral("-S"), socket });
    const QDeadlineTimer deadline(20000);
    while (m_daemon.waitForStarted(10000) && !QFile::exists(socket) && !deadline.hasExpired())
        QThread::msleep(50);
    if (!QFile::exists(socket))
        return QStringLiteral("speech-dispatcher did not come up; see ") + m_dir.path();
    qputenv("SPEECHD_ADDRESS", QByteArrayLiteral("unix_socket:") + QFile::encodeName(socket));
    return QString();
}

QStringList SpeechDaemon::spoken() const
{
    return lines(QStringLiteral("spoken.txt"));
}

QList<double> SpeechDaemon::rates() const
{
    QList<double> rates;
    for (const QString &rate : lines(QStringLiteral("rates.txt")))
        rates << rate.toDouble();
    return rates;
}

QStringList SpeechDaemon::lines(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
