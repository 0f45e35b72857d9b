#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Voice;

// Reading aloud for one run: off at start, turned on and off by the pupil,
// never stored. The voice is opened only when asked for, so a pupil who
// never reads aloud never reaches the speech server.
class ReadingAloud : public QObject {
    Q_OBJECT

public:
    ReadingAloud();
    ~ReadingAloud() override;

    // Starts opening the voice, unless it is open or opening.
    void prepare();
    // Why reading aloud cannot be had; empty while that is not known yet.
    QString unavailableReason() const;

    bool isOn() const { return m_on; }
    // Turned off, it falls silent at once.
    void setOn(bool on);

    // Says the text in place of anything still being said; nothing while off.
    void say(const QString &text);
    void stop();
    bool isSpeaking() const;

signals:
    // The voice turned out unable to speak Russian: reading aloud is off.
    void unavailable(const QString &reason);

private:
    std::unique_ptr<Voice> m_voice;
    bool m_on = false;
};
