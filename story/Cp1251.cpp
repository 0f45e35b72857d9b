#include "story/Cp1251.h"

#include <algorithm>
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

// The reverse in two levels: the character's high byte picks one of a few
// pages of 256 entries, page 0 holding nothing. Every character of the code
// page lies in U+00xx, U+04xx, U+20xx or U+21xx.
struct FromUnicodeTable {
    std::array<uint8_t, 256> pageOf {};
    std::array<std::array<int16_t, 256>, 5> pages {};
};

constexpr FromUnicodeTable makeFromUnicode()
{
    FromUnicodeTable table;
    for (auto &page : table.pages)
        page.fill(-1);
    int used = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t u = ToUnicode[b];
        uint8_t &page = table.pageOf[u >> 8];
        if (page == 0)
            page = uint8_t(++used);
        table.pages[page][u & 0xFF] = int16_t(b);
    }
    return table;
}

constexpr FromUnicodeTable FromUnicode = makeFromUnicode();

inline int lookUp(char16_t u)
{
    return FromUnicode.pages[FromUnicode.pageOf[u >> 8]][u & 0xFF];
}

// Plain Russian text is ASCII and А..я; a block of it is passed over
// without a table look-up per character.
inline bool plainRussian(char16_t u)
{
    return u < 0x80 || char16_t(u - 0x0410) < 0x40;
}

} // namespace

QChar Cp1251::toUnicode(uchar byte)
{
    return QChar(ToUnicode[byte]);
}

int Cp1251::fromUnicode(QChar ch)
{
    return lookUp(ch.unicode());
}

void Cp1251::decodeInto(QByteArrayView bytes, char16_t *out)
{
    const auto *in = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i)
        out[i] = ToUnicode[in[i]];
}

void Cp1251::encodeInto(QStringView text, char *out)
{
    const char16_t *in = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const int byte = lookUp(in[i]);
        out[i] = byte < 0 ? '?' : char(byte);
    }
}

QString Cp1251::decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

QByteArray Cp1251::encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    encodeInto(text, bytes.data());
    return bytes;
}

bool Cp1251::canEncode(QStringView text)
{
    constexpr qsizetype Block = 32;
    const char16_t *in = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype start = 0; start < n; start += Block) {
        const qsizetype end = std::min(n, start + Block);
        bool plain = true;
        for (qsizetype i = start; i < end; ++i)
            plain &= plainRussian(in[i]);
        if (plain)
            continue;
        for (qsizetype i = start; i < end; ++i) {
            if (lookUp(in[i]) < 0)
                return false;
        }
    }
    return true;
}
