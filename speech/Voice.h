#pragma once

#include <QObject>
#include <QString>

#include <atomic>

class QTextToSpeech;
class QThread;

// The computer's speech synthesis, speaking Russian: Qt's text-to-speech
// where the program is built with it (VoiceQt.cpp), none where it is not
// (VoiceNone.cpp). Qt's engine lists every voice of the speech server as it
// opens, some two seconds: it opens, and then speaks, on a thread of its own,
// and the window never waits for it.
class Voice : public QObject {
    Q_OBJECT

public:
    Voice(); // starts opening
    ~Voice() override;

    // Why no voice can be opened at all, as far as is known without
    // reaching the speech server; empty when one may be.
    static QString missingEngine();

    // Why the voice cannot speak Russian; empty while it opens, and when it can.
    QString unavailableReason() const { return m_unavailable; }

    // Says the text, in place of anything still being said, once it is open.
    void say(const QString &text);
    void stop();
    bool isSpeaking() const { return m_speaking; }

signals:
    // The voice is open; the reason is empty when it can speak Russian.
    void opened(const QString &unavailableReason);

private:
    void setUnavailable(const QString &reason);

    QString m_unavailable;
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr; // on m_thread, with the engine
    QTextToSpeech *m_speech = nullptr; // touched on m_thread only
    std::atomic<bool> m_speaking { false };
};
