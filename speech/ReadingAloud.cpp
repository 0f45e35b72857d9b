#include "speech/ReadingAloud.h"

#include "speech/Voice.h"

ReadingAloud::ReadingAloud() = default;

ReadingAloud::~ReadingAloud() = default;

void ReadingAloud::openVoice()
{
    m_voice = std::make_unique<Voice>();
    const auto refuse = [this](const QString &reason) {
        if (reason.isEmpty())
            return;
        m_on = false;
        emit unavailable(reason);
    };
    connect(m_voice.get(), &Voice::opened, this, refuse);
    refuse(m_voice->unavailableReason());
    setSlow(m_slow);
}

QString ReadingAloud::unavailableReason() const
{
    return m_voice ? m_voice->unavailableReason() : Voice::missingEngine();
}

void ReadingAloud::setOn(bool on)
{
    if (on && !m_voice)
        openVoice();
    m_on = on && unavailableReason().isEmpty();
    if (!m_on)
        stop();
}

void ReadingAloud::setSlow(bool slow)
{
    m_slow = slow;
    if (m_voice)
        m_voice->setRate(slow ? SlowRate : NormalRate);
}

void ReadingAloud::say(const QString &text)
{
    if (m_on)
        m_voice->say(text);
}

void ReadingAloud::stop()
{
    if (m_voice)
        m_voice->stop();
}

bool ReadingAloud::isSpeaking() const
{
    return m_voice && m_voice->isSpeaking();
}
