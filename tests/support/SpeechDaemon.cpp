#include "support/SpeechDaemon.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

SpeechDaemon::SpeechDaemon()
    : m_dir(QStringLiteral("/tmp/tropinets-speech-XXXXXX")) // short: the socket's name
{
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.setStandardOutputFile(path(QStringLiteral("daemon.out")));
    m_daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

SpeechDaemon::~SpeechDaemon()
{
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000))
        m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

QString SpeechDaemon::start()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"));
    if (daemon.isEmpty())
        return QStringLiteral("speech-dispatcher is not installed");
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("conf/modules")))
        return QStringLiteral("no folder for the speech server");
    const QString config = QStringLiteral("AddModule \"file\" \"sd_generic\" \"file.conf\"\n"
                                          "DefaultModule file\n"
                                          "LanguageDefaultModule \"ru\" \"file\"\n"
                                          "DefaultLanguage \"ru\"\n"
                                          "AudioOutputMethod \"alsa\"\n"
                                          "AudioALSADevice \"null\"\n"
                                          "LogLevel 3\n"
                                          "LogDir \"%1\"\n")
                               .arg(m_dir.path());
    const QString voice
        = QStringLiteral("GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> %1; sleep 30\"\n"
                         "GenericMaxChunkLength 100000\n"
                         // None of the texts: each comes whole, not by sentences.
                         "GenericDelimiters \"~\"\n"
                         "GenericLanguage \"ru\" \"ru\" \"utf-8\"\n"
                         "AddVoice \"ru\" \"MALE1\" \"ru\"\n")
              .arg(path(QStringLiteral("spoken.txt")));
    QFile configFile(path(QStringLiteral("conf/speechd.conf")));
    QFile voiceFile(path(QStringLiteral("conf/modules/file.conf")));
    if (!configFile.open(QIODevice::WriteOnly) || configFile.write(config.toUtf8()) < 0
        || !voiceFile.open(QIODevice::WriteOnly) || voiceFile.write(voice.toUtf8()) < 0)
        return QStringLiteral("cannot configure the speech server in ") + m_dir.path();
    configFile.close();
    voiceFile.close();

    const QString socket = path(QStringLiteral("speechd.sock"));
    // Without a timeout of its own the server would wait for ever: it stops
    // with the test.
    m_daemon.start(daemon,
        { QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"), QStringLiteral("-C"),
            path(QStringLiteral("conf")), QStringLiteral("-P"), path(QStringLiteral("speechd.pid")),
            QStringLiteral("-c"), QStringLiteral("unix_socket"), QStringLiteral("-S"), socket });
    if (!m_daemon.waitForStarted(10000))
        return QStringLiteral("speech-dispatcher did not start: ") + m_daemon.errorString();
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(socket)) {
        if (m_daemon.state() != QProcess::Running || deadline.hasExpired())
            return QStringLiteral("speech-dispatcher did not come up; see ") + m_dir.path();
        QThread::msleep(50);
    }
    qputenv("SPEECHD_ADDRESS", QByteArrayLiteral("unix_socket:") + QFile::encodeName(socket));
    return QString();
}

QStringList SpeechDaemon::spoken() const
{
    QFile file(path(QStringLiteral("spoken.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
