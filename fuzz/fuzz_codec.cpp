#include "FuzzCheck.h"

#include "files/Cp1251.h"
#include "story/StoryFiles.h"

#include <QStringList>

#include <cstdint>

// The Windows-1251 code page both ways. Every byte string survives decoding
// and encoding; every text the code page holds survives encoding and
// decoding; and the lines of any text survive being turned into a story
// file's bytes and read back, with only their line breaks and NULs made
// spaces.

namespace {

void checkBytes(QByteArrayView bytes)
{
    const QString text = Cp1251::decode(bytes);
    FUZZ_CHECK(text.size() == bytes.size());
    FUZZ_CHECK(Cp1251::canEncode(text));
    FUZZ_CHECK(Cp1251::encode(text) == bytes);
    for (const char byte : bytes)
        FUZZ_CHECK(Cp1251::fromUnicode(Cp1251::toUnicode(uchar(byte))) == uchar(byte));
}

void checkText(const QString &text)
{
    const QByteArray bytes = Cp1251::encode(text);
    FUZZ_CHECK(bytes.size() == text.size());
    const bool fits = Cp1251::canEncode(text);
    if (fits)
        FUZZ_CHECK(Cp1251::decode(bytes) == text);
    bool allFit = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = Cp1251::fromUnicode(text.at(i));
        allFit = allFit && byte >= 0;
        FUZZ_CHECK(byte < 256);
        FUZZ_CHECK(uchar(bytes.at(i)) == (byte < 0 ? uchar('?') : uchar(byte)));
        if (byte >= 0)
            FUZZ_CHECK(Cp1251::toUnicode(uchar(byte)) == text.at(i));
    }
    FUZZ_CHECK(allFit == fits);
}

void checkLines(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    const QByteArray file = StoryFiles::encodeLines(lines);
    FUZZ_CHECK(file.endsWith("\r\n"));
    QStringList expected;
    for (QString line : lines)
        expected << line.replace(QLatin1Char('\r'), QLatin1Char(' '))
                        .replace(QChar(0), QLatin1Char(' '));
    FUZZ_CHECK(StoryFiles::decodeLines(file, int(lines.size())) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkBytes(bytes);
    // Read as UTF-8, the input is any text a pupil could type or paste.
    const QString text = QString::fromUtf8(bytes);
    checkText(text);
    checkLines(text);
    return 0;
}
