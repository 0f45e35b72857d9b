#include "speech/Voice.h"

// Built without Qt's text-to-speech: the program cannot read aloud.
Voice::Voice()
{
    setUnavailable(QStringLiteral("Эта сборка программы не умеет читать вслух."));
}

Voice::~Voice() = default;

void Voice::setUnavailable(const QString &reason)
{
    m_unavailable = reason;
    emit opened(reason);
}

void Voice::say(const QString &) { }

void Voice::stop() { }
