#include "files/Cp1251.h"

#include <array>
#include <cstdint>

namespace {

// 0x00-0x7F are ASCII and 0xC0-0xFF are А..я in order; these are the rest.
constexpr std::array<char16_t, 64> High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

constexpr std::array<char16_t, 256> makeToUnicode()
{
    std::array<char16_t, 256> table {};
    for (int b = 0; b < 256; ++b) {
        table[b] = b < 0x80 ? char16_t(b)
            : b >= 0xC0     ? char16_t(0x0410 + (b - 0xC0))
                            : High[b - 0x80];
    }
    return table;
}

constexpr std::array<char16_t, 256> ToUnicode = makeToUnicode();

} // namespace

QChar Cp1251::toUnicode(uchar byte)
{
    return QChar(ToUnicode[byte]);
}

int Cp1251::fromUnicode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80)
        return u;
    if (u >= 0x0410 && u < 0x0450)
        return 0xC0 + (u - 0x0410);
    for (int b = 0; b < int(High.size()); ++b) {
        if (High[b] == u)
            return 0x80 + b;
    }
    return -1;
}

QString Cp1251::decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = toUnicode(uchar(byte));
    return text;
}

QByteArray Cp1251::encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : text) {
        const int byte = fromUnicode(ch);
        *out++ = byte < 0 ? '?' : char(byte);
    }
    return bytes;
}

bool Cp1251::canEncode(QStringView text)
{
    for (const QChar ch : text) {
        if (fromUnicode(ch) < 0)
            return false;
    }
    return true;
}
