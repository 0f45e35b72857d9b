#include "speech/Voice.h"

// Built without Qt's text-to-speech: the program cannot read aloud.
QString Voice::missingEngine()
{
    return QStringLiteral("Эта сборка программы не умеет читать вслух.");
}

Voice::Voice()
{
    setUnavailable(missingEngine());
}

Voice::~Voice() = default;

void Voice::setUnavailable(const QString &reason)
{
    m_unavailable = reason;
    emit opened(reason);
}

void Voice::say(const QString &) { }

void Voice::stop() { }
