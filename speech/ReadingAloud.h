#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Voice;

// Reading aloud for one run: off at start, turned on and off by the pupil,
// never stored. The voice is opened when reading aloud is first turned on,
// so a pupil who never reads aloud never reaches the speech server.
class ReadingAloud : public QObject {
    Q_OBJECT

public:
    ReadingAloud();
    ~ReadingAloud() override;

    // Why reading aloud cannot be had. Before the voice is opened, only a
    // missing engine is known; whether it speaks Russian is told by
    // unavailable() once it has opened.
    QString unavailableReason() const;

    bool isOn() const { return m_on; }
    // Turned off, it falls silent at once.
    void setOn(bool on);

    // Slower for a young reader, for the run; on or off, a rate kept for
    // when reading aloud is on.
    bool isSlow() const { return m_slow; }
    void setSlow(bool slow);
    // The two rates on Qt's scale (-1 to 1, 0 the voice's own): with
    // Debian's espeak-ng, 134 and 95 words a minute (docs/reading-aloud.md).
    static constexpr double NormalRate = -0.40;
    static constexpr double SlowRate = -0.85;

    // Says the text in place of anything still being said; nothing while off.
    void say(const QString &text);
    void stop();
    bool isSpeaking() const;

signals:
    // The voice turned out unable to speak Russian: reading aloud is off.
    void unavailable(const QString &reason);

private:
    void openVoice();

    std::unique_ptr<Voice> m_voice;
    bool m_on = false;
    bool m_slow = false;
};
