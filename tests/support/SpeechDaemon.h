#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A private speech-dispatcher for one test program, reached through
// SPEECHD_ADDRESS. Its configuration, socket and log live in a temporary
// folder; its one voice writes each text it is given into a file there, and
// the rate it was asked for into another, and keeps speaking for half a
// minute, so that a text the program does not stop is still being said. Sound goes to ALSA's null
// device. It stops with this object, and with the test program should that die first.
class SpeechDaemon {
public:
    SpeechDaemon();
    ~SpeechDaemon();

    // Empty when it runs; otherwise why not.
    QString start();
    // What it was given to say, one text a line, in order.
    QStringList spoken() const;
    // The rate of each, speech-dispatcher's: -100 to 100, 0 the voice's own.
    QList<double> rates() const;

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList lines(const QString &name) const;

    QTemporaryDir m_dir;
    QProcess m_daemon;
};
