#include "windows/IconFile.h"
#include "windows/WindowDesign.h"

#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/windows/assets/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 dword(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 word(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

} // namespace

class tst_Assets : public QObject
{
    Q_OBJECT

private slots:
    void lengths_data();
    void lengths();
    void titlePicture();
    void icon();
    void cursor();
    void handCursorAndIcon();
    void hostileFiles_data();
    void hostileFiles();
    void everyTruncationFails();
    void unreadablePaths();
};

void tst_Assets::lengths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("length");
    QTest::newRow("title") << "title.bmp" << qint64(478662);
    QTest::newRow("icon") << "tropinets.ico" << qint64(1078);
    QTest::newRow("cursor") << "hand.cur" << qint64(766);
}

void tst_Assets::lengths()
{
    QFETCH(QString, name);
    QFETCH(qint64, length);
    QCOMPARE(resource(name).size(), length);
    // The committed file is the one built into the program.
    QFile source(QStringLiteral(TROPINETS_SOURCE_DIR "/windows/assets/") + name);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), resource(name));
}

void tst_Assets::titlePicture()
{
    const QByteArray bytes = resource(QStringLiteral("title.bmp"));
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(dword(bytes, 2), quint32(478662));
    QCOMPARE(dword(bytes, 10), quint32(54)); // no palette
    QCOMPARE(dword(bytes, 14), quint32(40));
    QCOMPARE(qint32(dword(bytes, 18)), 472);
    QCOMPARE(qint32(dword(bytes, 22)), 338);
    QCOMPARE(word(bytes, 26), quint16(1));
    QCOMPARE(word(bytes, 28), quint16(24));
    QCOMPARE(dword(bytes, 30), quint32(0));
    QCOMPARE(54 + 472 * 3 * 338, 478662); // rows need no padding

    QImage picture;
    QVERIFY(picture.loadFromData(bytes, "BMP"));
    QCOMPARE(picture.size(), QSize(472, 338));
    // The heading across the top is lettered in brown.
    int brown = 0;
    for (int y = 0; y < 110; ++y) {
        for (int x = 0; x < 472; ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 70 && c.red() < 170 && c.green() < c.red() * 0.7 && c.blue() < c.green())
                ++brown;
        }
    }
    QVERIFY2(brown > 3000, qPrintable(QString::number(brown)));
}

void tst_Assets::icon()
{
    const QByteArray bytes = resource(QStringLiteral("tropinets.ico"));
    const IconFile file = IconFile::parse(bytes);
    QVERIFY2(file.ok(), qPrintable(file.error()));
    QCOMPARE(file.kind(), IconFile::Icon);
    QCOMPARE(file.entries().size(), 2);
    const IconFile::Entry &large = file.entries()[0];
    const IconFile::Entry &small = file.entries()[1];
    QCOMPARE(QSize(large.width, large.height), QSize(32, 32));
    QCOMPARE(QSize(small.width, small.height), QSize(16, 16));
    for (const IconFile::Entry &entry : file.entries()) {
        QCOMPARE(entry.colourCount, 16);
        QCOMPARE(entry.bitCount, 4);
        QCOMPARE(entry.hotX, 1); // planes
        QCOMPARE(entry.hotY, 4); // bits per pixel
    }
    // Header, palette, 4-bit rows and the mask, nothing more and nothing less.
    QCOMPARE(large.bytes, quint32(40 + 64 + 32 * 16 + 32 * 4));
    QCOMPARE(small.bytes, quint32(40 + 64 + 16 * 8 + 16 * 4));
    QCOMPARE(large.offset, quint32(6 + 2 * 16));
    QCOMPARE(small.offset, large.offset + large.bytes);
    QCOMPARE(qint64(small.offset + small.bytes), bytes.size());
    // The book's cover is red, and the corners are see-through.
    for (const IconFile::Entry &entry : file.entries()) {
        bool red = false;
        for (int y = 0; y < entry.height; ++y)
            for (int x = 0; x < entry.width; ++x)
                red = red || entry.image.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(red);
        QCOMPARE(qAlpha(entry.image.pixel(0, 0)), 0);
    }

    // Qt's own reader agrees.
    QImageReader reader(QStringLiteral(":/windows/assets/tropinets.ico"));
    QCOMPARE(reader.imageCount(), 2);
    QCOMPARE(reader.read().size(), QSize(32, 32));
}

void tst_Assets::cursor()
{
    const QByteArray bytes = resource(QStringLiteral("hand.cur"));
    QCOMPARE(word(bytes, 2), quint16(2));
    const IconFile file = IconFile::parse(bytes);
    QVERIFY2(file.ok(), qPrintable(file.error()));
    QCOMPARE(file.kind(), IconFile::Cursor);
    QCOMPARE(file.entries().size(), 1);
    const IconFile::Entry &hand = file.entries().constFirst();
    QCOMPARE(QSize(hand.width, hand.height), QSize(32, 32));
    QCOMPARE(hand.colourCount, 16);
    QCOMPARE(hand.bitCount, 4);
    QCOMPARE(QPoint(hand.hotX, hand.hotY), QPoint(12, 1));
    QCOMPARE(hand.offset, quint32(22));
    QCOMPARE(hand.bytes, quint32(744));
    QCOMPARE(qint64(hand.offset + hand.bytes), bytes.size());

    // The hot spot is the fingertip: the top of the hand, nothing above it.
    const QImage &image = hand.image;
    QCOMPARE(image.pixel(12, 1), qRgb(0, 0, 0));
    for (int x = 0; x < 32; ++x)
        QCOMPARE(qAlpha(image.pixel(x, 0)), 0);
    int white = 0, blue = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            white += image.pixel(x, y) == qRgb(255, 255, 255);
            blue += image.pixel(x, y) == qRgb(0, 0, 255);
        }
    }
    QVERIFY(white > 150);
    QVERIFY(blue > 30);
}

void tst_Assets::handCursorAndIcon()
{
    const QCursor hand = handCursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(12, 1));
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));

    const QList<QSize> sizes = programIcon().availableSizes();
    QCOMPARE(sizes.size(), 2);
    QVERIFY(sizes.contains(QSize(32, 32)));
    QVERIFY(sizes.contains(QSize(16, 16)));
}

void tst_Assets::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray hand = resource(QStringLiteral("hand.cur"));
    const auto patched = [&hand](int at, QByteArray with) {
        QByteArray bytes = hand;
        bytes.replace(at, with.size(), with);
        return bytes;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("hello, this is not a cursor at all");
    QTest::newRow("bitmap") << resource(QStringLiteral("title.bmp"));
    QTest::newRow("type 3") << patched(2, QByteArray("\x03\x00", 2));
    QTest::newRow("no images") << patched(4, QByteArray("\x00\x00", 2));
    QTest::newRow("many images") << patched(4, QByteArray("\xff\xff", 2));
    QTest::newRow("offset past end") << patched(18, QByteArray("\xff\xff\x00\x00", 4));
    QTest::newRow("offset wraps") << patched(18, QByteArray("\xff\xff\xff\xff", 4));
    QTest::newRow("length past end") << patched(14, QByteArray("\xe9\x02\x00\x00", 4));
    QTest::newRow("header size huge") << patched(22, QByteArray("\x00\x10\x00\x00", 4));
    QTest::newRow("header size small") << patched(22, QByteArray("\x0c\x00\x00\x00", 4));
    QTest::newRow("width negative") << patched(26, QByteArray("\xe0\xff\xff\xff", 4));
    QTest::newRow("width huge") << patched(26, QByteArray("\x00\x00\x01\x00", 4));
    QTest::newRow("height odd") << patched(30, QByteArray("\x41\x00\x00\x00", 4));
    QTest::newRow("height unlike directory") << patched(30, QByteArray("\x20\x00\x00\x00", 4));
    QTest::newRow("3 bits") << patched(36, QByteArray("\x03\x00", 2));
    QTest::newRow("compressed") << patched(38, QByteArray("\x02\x00\x00\x00", 4));
    QTest::newRow("palette too big") << patched(54, QByteArray("\x11\x00\x00\x00", 4));
}

void tst_Assets::hostileFiles()
{
    QFETCH(QByteArray, bytes);
    const IconFile file = IconFile::parse(bytes);
    QVERIFY(!file.ok());
    QVERIFY(!file.error().isEmpty());
}

void tst_Assets::everyTruncationFails()
{
    for (const QString name : {QStringLiteral("hand.cur"), QStringLiteral("tropinets.ico")}) {
        const QByteArray bytes = resource(name);
        for (int length = 0; length < bytes.size(); ++length)
            QVERIFY2(
                !IconFile::parse(bytes.first(length)).ok(), qPrintable(QString::number(length)));
        QVERIFY(IconFile::parse(bytes).ok());
    }
}

void tst_Assets::unreadablePaths()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!IconFile::load(dir.filePath(QStringLiteral("missing.cur"))).ok());
    QVERIFY(!IconFile::load(dir.path()).ok());
    QFile big(dir.filePath(QStringLiteral("big.cur")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QByteArray huge = resource(QStringLiteral("hand.cur"));
    huge.resize(IconFile::MaxFileBytes + 10);
    big.write(huge);
    big.close();
    QVERIFY(!IconFile::load(big.fileName()).ok());
}

QTEST_MAIN(tst_Assets)
#include "tst_assets.moc"
