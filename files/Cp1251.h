#pragma once

#include <QByteArray>
#include <QString>

// The Windows-1251 (Cyrillic) code page of the story files, from tables of
// our own so it behaves the same in every Qt build.
//
// Byte 0x98 has no character in the code page. It reads as U+0098 and that
// character writes back as 0x98, so every byte survives a read and a write.
class Cp1251 {
public:
    static QChar toUnicode(uchar byte);
    // The byte of the character, or -1 when the code page has none.
    static int fromUnicode(QChar ch);

    static QString decode(QByteArrayView bytes);
    // Characters outside the code page become '?'; check canEncode() first
    // where that would lose text.
    static QByteArray encode(QStringView text);
    static bool canEncode(QStringView text);
};
