#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The computer's speech synthesis, speaking Russian: Qt's text-to-speech
// where the program is built with it (VoiceQt.cpp), Windows' own SAPI voices
// on Windows (VoiceSapi.cpp), none where there is neither (VoiceNone.cpp).
// A voice that takes its time to open opens on a thread of its own, and the
// window never waits for it.
class Voice : public QObject {
    Q_OBJECT

public:
    Voice(); // starts opening
    ~Voice() override;

    // Why no voice can be opened at all, as far as is known without
    // reaching a speech server; empty when one may be.
    static QString missingEngine();

    // Why the voice cannot speak Russian; empty while it opens, and when it can.
    QString unavailableReason() const { return m_unavailable; }

    // Says the text, in place of anything still being said, once it is open.
    void say(const QString &text);
    void stop();
    bool isSpeaking() const;
    // On Qt's scale: -1 the slowest, 0 the voice's own, 1 the fastest. For
    // what is said from now on.
    void setRate(double rate);

signals:
    // The voice is open; the reason is empty when it can speak Russian.
    void opened(const QString &unavailableReason);

private:
    void setUnavailable(const QString &reason);

    // The platform's engine, as its file makes it.
    struct Engine;
    QString m_unavailable;
    std::unique_ptr<Engine> m_engine;
};

// Why a voice cannot be had, in the words every engine uses.
namespace VoiceReasons {
inline const QString NoEngine
    = QStringLiteral("Чтение вслух недоступно: на компьютере нет синтезатора речи.");
inline const QString NotAnswering
    = QStringLiteral("Чтение вслух недоступно: синтезатор речи не отвечает.");
inline const QString NoRussianVoice
    = QStringLiteral("Чтение вслух недоступно: у синтезатора речи нет русского голоса.");
} // namespace VoiceReasons
