#include "speech/Voice.h"

// Built without any speech engine: the program cannot read aloud.
struct Voice::Engine { };

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

bool Voice::isSpeaking() const
{
    return false;
}

void Voice::setRate(double) { }
