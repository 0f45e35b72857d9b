#include "speech/Voice.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QThread>

#include <algorithm>
#include <atomic>

// Qt's engine lists every voice of the speech server as it opens, some two
// seconds: it opens, and then speaks, on a thread of its own.
struct Voice::Engine {
    QThread thread;
    QObject *worker = nullptr; // on the thread, with the speech
    QTextToSpeech *speech = nullptr; // touched on the thread only
    std::atomic<bool> speaking { false };

    // Runs on the engine's thread, after everything asked of it before.
    template <typename Job> void post(Job job)
    {
        QMetaObject::invokeMethod(worker, [this, job] {
            if (speech)
                job(*speech);
        });
    }
};

namespace {

// Sets the engine to Russian; says why it cannot be, or nothing.
QString speakRussian(QTextToSpeech &speech)
{
    if (speech.errorReason() == QTextToSpeech::ErrorReason::Initialization)
        return VoiceReasons::NotAnswering;
    const QList<QLocale> locales = speech.availableLocales();
    const auto russian = std::find_if(locales.begin(), locales.end(),
        [](const QLocale &locale) { return locale.language() == QLocale::Russian; });
    if (russian == locales.end())
        return VoiceReasons::NoRussianVoice;
    // A new engine reports an error until a locale is set, and would speak
    // in the desktop's language.
    speech.setLocale(*russian);
    return QString();
}

} // namespace

QString Voice::missingEngine()
{
    // Read from the plugins' descriptions: nothing is loaded or reached.
    return QTextToSpeech::availableEngines().isEmpty() ? VoiceReasons::NoEngine : QString();
}

Voice::Voice()
{
    if (const QString missing = missingEngine(); !missing.isEmpty()) {
        setUnavailable(missing);
        return;
    }
    m_engine = std::make_unique<Engine>();
    Engine &engine = *m_engine;
    engine.worker = new QObject;
    engine.worker->moveToThread(&engine.thread);
    engine.thread.start();
    QMetaObject::invokeMethod(engine.worker, [this, &engine] {
        engine.speech = new QTextToSpeech(engine.worker);
        const QString unavailable = speakRussian(*engine.speech);
        if (unavailable.isEmpty()) {
            connect(engine.speech, &QTextToSpeech::stateChanged, engine.worker,
                [&engine](QTextToSpeech::State state) {
                    engine.speaking = state == QTextToSpeech::Speaking;
                });
        } else {
            delete engine.speech;
            engine.speech = nullptr;
        }
        QMetaObject::invokeMethod(this, [this, unavailable] { setUnavailable(unavailable); });
    });
}

Voice::~Voice()
{
    if (!m_engine)
        return;
    Engine &engine = *m_engine;
    // Silenced and closed on its own thread, where it lives.
    QMetaObject::invokeMethod(
        engine.worker,
        [&engine] {
            if (engine.speech)
                engine.speech->stop();
            delete engine.speech;
            engine.speech = nullptr;
        },
        Qt::BlockingQueuedConnection);
    engine.thread.quit();
    engine.thread.wait();
    delete engine.worker;
}

void Voice::setUnavailable(const QString &reason)
{
    m_unavailable = reason;
    emit opened(reason);
}

void Voice::say(const QString &text)
{
    // Qt stops what is being said only once the server has told it that
    // speech began; a text said just before would be queued ahead of this one.
    if (m_engine && !text.trimmed().isEmpty()) {
        m_engine->post([text](QTextToSpeech &speech) {
            speech.stop();
            speech.say(text);
        });
    }
}

void Voice::stop()
{
    if (m_engine)
        m_engine->post([](QTextToSpeech &speech) { speech.stop(); });
}

bool Voice::isSpeaking() const
{
    return m_engine && m_engine->speaking;
}

void Voice::setRate(double rate)
{
    if (m_engine)
        m_engine->post([rate](QTextToSpeech &speech) { speech.setRate(rate); });
}
