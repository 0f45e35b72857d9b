#include "speech/Voice.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QThread>

#include <algorithm>

namespace {

// Sets the engine to Russian; says why it cannot be, or nothing.
QString speakRussian(QTextToSpeech &speech)
{
    if (speech.errorReason() == QTextToSpeech::ErrorReason::Initialization)
        return QStringLiteral("Чтение вслух недоступно: синтезатор речи не отвечает.");
    const QList<QLocale> locales = speech.availableLocales();
    const auto russian = std::find_if(locales.begin(), locales.end(),
        [](const QLocale &locale) { return locale.language() == QLocale::Russian; });
    if (russian == locales.end())
        return QStringLiteral("Чтение вслух недоступно: у синтезатора речи нет русского голоса.");
    // A new engine reports an error until a locale is set, and would speak
    // in the desktop's language.
    speech.setLocale(*russian);
    return QString();
}

} // namespace

QString Voice::missingEngine()
{
    // Read from the plugins' descriptions: nothing is loaded or reached.
    return QTextToSpeech::availableEngines().isEmpty()
        ? QStringLiteral("Чтение вслух недоступно: на компьютере нет синтезатора речи.")
        : QString();
}

Voice::Voice()
{
    if (const QString missing = missingEngine(); !missing.isEmpty()) {
        setUnavailable(missing);
        return;
    }
    m_thread = new QThread(this);
    m_worker = new QObject;
    m_worker->moveToThread(m_thread);
    m_thread->start();
    QMetaObject::invokeMethod(m_worker, [this] {
        m_speech = new QTextToSpeech(m_worker);
        const QString unavailable = speakRussian(*m_speech);
        if (unavailable.isEmpty()) {
            connect(m_speech, &QTextToSpeech::stateChanged, m_worker,
                [this](
                    QTextToSpeech::State state) { m_speaking = state == QTextToSpeech::Speaking; });
        } else {
            delete m_speech;
            m_speech = nullptr;
        }
        QMetaObject::invokeMethod(this, [this, unavailable] { setUnavailable(unavailable); });
    });
}

Voice::~Voice()
{
    if (!m_thread)
        return;
    // Silenced and closed on its own thread, where it lives.
    QMetaObject::invokeMethod(
        m_worker,
        [this] {
            if (m_speech)
                m_speech->stop();
            delete m_speech;
            m_speech = nullptr;
        },
        Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
}

void Voice::setUnavailable(const QString &reason)
{
    m_unavailable = reason;
    emit opened(reason);
}

void Voice::say(const QString &text)
{
    if (m_thread && !text.trimmed().isEmpty()) {
        QMetaObject::invokeMethod(m_worker, [this, text] {
            if (m_speech)
                m_speech->say(text);
        });
    }
}

void Voice::stop()
{
    if (m_thread) {
        QMetaObject::invokeMethod(m_worker, [this] {
            if (m_speech)
                m_speech->stop();
        });
    }
}
