#include "files/Cp1251.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

class tst_Codec : public QObject {
    Q_OBJECT

private slots:
    void knownBytes_data();
    void knownBytes();
    void everyByteBothWays();
    void agreesWithSystemCodec();
    void unassignedByte();
    void canEncode_data();
    void canEncode();
    void encodeReplacesWhatDoesNotFit();
    void everyCharacter();
    void misfitAtEveryPlace();
};

void tst_Codec::knownBytes_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("NUL") << 0x00 << 0x0000;
    QTest::newRow("CR") << 0x0D << 0x000D;
    QTest::newRow("A") << 0x41 << 0x0041;
    QTest::newRow("DEL") << 0x7F << 0x007F;
    QTest::newRow("Ђ") << 0x80 << 0x0402;
    QTest::newRow("€") << 0x88 << 0x20AC;
    QTest::newRow("—") << 0x97 << 0x2014;
    QTest::newRow("™") << 0x99 << 0x2122;
    QTest::newRow("NBSP") << 0xA0 << 0x00A0;
    QTest::newRow("Ё") << 0xA8 << 0x0401;
    QTest::newRow("«") << 0xAB << 0x00AB;
    QTest::newRow("ё") << 0xB8 << 0x0451;
    QTest::newRow("№") << 0xB9 << 0x2116;
    QTest::newRow("ї") << 0xBF << 0x0457;
    QTest::newRow("А") << 0xC0 << 0x0410;
    QTest::newRow("Я") << 0xDF << 0x042F;
    QTest::newRow("а") << 0xE0 << 0x0430;
    QTest::newRow("я") << 0xFF << 0x044F;
}

void tst_Codec::knownBytes()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    QCOMPARE(Cp1251::toUnicode(uchar(byte)).unicode(), unicode);
    QCOMPARE(Cp1251::fromUnicode(QChar(char16_t(unicode))), byte);
}

void tst_Codec::everyByteBothWays()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    const QString text = Cp1251::decode(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(Cp1251::canEncode(text));
    QCOMPARE(Cp1251::encode(text), all);

    QSet<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const QChar ch = Cp1251::toUnicode(uchar(b));
        QCOMPARE(text.at(b), ch);
        QCOMPARE(Cp1251::fromUnicode(ch), b);
        seen.insert(ch.unicode());
    }
    QCOMPARE(seen.size(), 256); // no two bytes read as the same character
}

void tst_Codec::agreesWithSystemCodec()
{
    QStringDecoder decoder("windows-1251");
    QStringEncoder encoder("windows-1251");
    if (!decoder.isValid() || !encoder.isValid())
        QSKIP("This Qt has no system Windows-1251 codec to compare with");
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const QByteArray byte(1, char(b));
        const QString expected = decoder.decode(byte);
        QCOMPARE(QString(Cp1251::toUnicode(uchar(b))), expected);
        QCOMPARE(QByteArray(encoder.encode(expected)), byte);
    }
}

void tst_Codec::unassignedByte()
{
    // 0x98 has no character; it reads as the control U+0098 so that a file
    // read and written again keeps the byte.
    QCOMPARE(Cp1251::toUnicode(0x98).unicode(), char16_t(0x0098));
    QCOMPARE(Cp1251::fromUnicode(QChar(char16_t(0x0098))), 0x98);
    QCOMPARE(Cp1251::encode(Cp1251::decode("a\x98z")), QByteArray("a\x98z"));
}

void tst_Codec::canEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("Russian") << QStringLiteral("Жили-были дед и баба. Ёж «№1» — €5") << true;
    QTest::newRow("Ukrainian") << QStringLiteral("Їжак і ґудзик") << true;
    QTest::newRow("Latin-1 é") << QStringLiteral("café") << false;
    QTest::newRow("Greek") << QStringLiteral("αβγ") << false;
    QTest::newRow("CJK") << QStringLiteral("猫") << false;
    QTest::newRow("emoji (surrogates)") << QStringLiteral("кот 🐈") << false;
    QTest::newRow("lone surrogate") << QString(QChar(char16_t(0xD800))) << false;
    QTest::newRow("U+0099") << QString(QChar(char16_t(0x0099))) << false;
    QTest::newRow("replacement char") << QString(QChar(char16_t(0xFFFD))) << false;
}

void tst_Codec::canEncode()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(Cp1251::canEncode(text), fits);
}

void tst_Codec::encodeReplacesWhatDoesNotFit()
{
    QCOMPARE(Cp1251::encode(QStringLiteral("Ая猫")), QByteArray("\xC0\xFF?"));
}

void tst_Codec::everyCharacter()
{
    // The reverse table holds exactly the 256 characters of the code page.
    int found = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const QChar ch { char16_t(u) };
        const int byte = Cp1251::fromUnicode(ch);
        QCOMPARE(Cp1251::canEncode(QStringView(&ch, 1)), byte >= 0);
        if (byte < 0)
            continue;
        ++found;
        QVERIFY(byte < 256);
        QCOMPARE(Cp1251::toUnicode(uchar(byte)), ch);
    }
    QCOMPARE(found, 256);
}

void tst_Codec::misfitAtEveryPlace()
{
    // Plain Russian is passed over in blocks; one misfit anywhere, at a
    // block's edge too, still counts.
    const QString plain = QStringLiteral("Жили-были дед и баба, ёж. ").repeated(4);
    for (qsizetype at = 0; at < plain.size(); ++at) {
        QString text = plain;
        text[at] = QChar(0x00E9);
        QVERIFY2(!Cp1251::canEncode(text), qPrintable(QString::number(at)));
        text[at] = QChar(0x2116);
        QVERIFY(Cp1251::canEncode(text));
    }
}

QTEST_APPLESS_MAIN(tst_Codec)
#include "tst_codec.moc"
