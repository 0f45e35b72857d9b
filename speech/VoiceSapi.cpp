#include "speech/Voice.h"

#include <windows.h>

#include <sapi.h>
#include <sphelper.h>

#include <cmath>

namespace {

// COM for the calling thread, as long as the object lives; Qt has usually
// set it up already, for its own dialogs.
class ComUser {
public:
    ComUser()
        : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    {
    }
    ~ComUser()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComUser(const ComUser &) = delete;
    ComUser &operator=(const ComUser &) = delete;

private:
    HRESULT m_result;
};

} // namespace

// Windows' own speech (SAPI 5): the first installed voice that speaks
// Russian (language 419). It speaks asynchronously by itself, so it opens
// and speaks on the window's thread; finding the voice is a look into the
// registry and takes no time.
struct Voice::Engine {
    ComUser com; // released after the voice
    ISpVoice *voice = nullptr;

    ~Engine()
    {
        if (voice) {
            voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            voice->Release();
        }
    }
};

namespace {

// Whether a voice's attributes name Russian among its languages (hexadecimal
// language ids, separated by semicolons).
bool speaksRussian(ISpObjectToken &token)
{
    ISpDataKey *attributes = nullptr;
    if (FAILED(token.OpenKey(L"Attributes", &attributes)) || !attributes)
        return false;
    wchar_t *languages = nullptr;
    const bool found = SUCCEEDED(attributes->GetStringValue(L"Language", &languages)) && languages
        && QString::fromWCharArray(languages)
               .remove(QLatin1Char(' '))
               .split(QLatin1Char(';'))
               .contains(QStringLiteral("419"), Qt::CaseInsensitive);
    CoTaskMemFree(languages);
    attributes->Release();
    return found;
}

// The first Russian voice's token, or null. The voices are asked for Russian
// ones, and each is checked as well: Wine's SAPI lists its one voice, which
// cannot speak, whatever is asked.
ISpObjectToken *russianVoice()
{
    IEnumSpObjectTokens *tokens = nullptr;
    if (FAILED(SpEnumTokens(SPCAT_VOICES, L"Language=419", nullptr, &tokens)) || !tokens)
        return nullptr;
    ISpObjectToken *token = nullptr;
    while (tokens->Next(1, &token, nullptr) == S_OK && token && !speaksRussian(*token)) {
        token->Release();
        token = nullptr;
    }
    tokens->Release();
    return token;
}

// Opens the Russian voice into *voice, or says why there is none.
QString openRussianVoice(ISpVoice **voice)
{
    ISpObjectToken *token = russianVoice();
    if (!token)
        return VoiceReasons::NoRussianVoice;
    HRESULT result = CoCreateInstance(
        CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void **>(voice));
    if (SUCCEEDED(result))
        result = (*voice)->SetVoice(token);
    token->Release();
    if (FAILED(result)) {
        if (*voice)
            (*voice)->Release();
        *voice = nullptr;
        return VoiceReasons::NotAnswering;
    }
    return QString();
}

} // namespace

QString Voice::missingEngine()
{
    // Without a Russian voice there is nothing to offer: say so at once.
    const ComUser com;
    ISpObjectToken *token = russianVoice();
    if (!token)
        return VoiceReasons::NoRussianVoice;
    token->Release();
    return QString();
}

Voice::Voice()
    : m_engine(std::make_unique<Engine>())
{
    setUnavailable(openRussianVoice(&m_engine->voice));
}

Voice::~Voice() = default;

void Voice::setUnavailable(const QString &reason)
{
    m_unavailable = reason;
    emit opened(reason);
}

void Voice::say(const QString &text)
{
    if (m_engine->voice && !text.trimmed().isEmpty()) {
        m_engine->voice->Speak(reinterpret_cast<const wchar_t *>(text.utf16()),
            SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
    }
}

void Voice::stop()
{
    if (m_engine->voice)
        m_engine->voice->Speak(nullptr, SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
}

bool Voice::isSpeaking() const
{
    SPVOICESTATUS status {};
    return m_engine->voice && SUCCEEDED(m_engine->voice->GetStatus(&status, nullptr))
        && status.dwRunningState == SPRS_IS_SPEAKING;
}

void Voice::setRate(double rate)
{
    // SAPI's own scale runs from -10 to 10, as Qt's own SAPI engine maps it.
    if (m_engine->voice)
        m_engine->voice->SetRate(std::lround(rate * 10));
}
