#include "pictures/CursorHotSpot.h"
#include "widgets/WindowDesign.h"

#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QTest>

namespace {

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/widgets/assets/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The committed file, which the program carries as it is.
QByteArray committed(const QString &name)
{
    QFile file(QStringLiteral(TROPINETS_SOURCE_DIR "/widgets/assets/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Byte by byte: GCC's bounds check under the sanitizers takes a pointer
// into the bytes for the one-byte empty array.
quint32 littleEndian(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(bytes.at(at + i));
    return value;
}

quint32 dword(const QByteArray &bytes, int at)
{
    return littleEndian(bytes, at, 4);
}

quint16 word(const QByteArray &bytes, int at)
{
    return quint16(littleEndian(bytes, at, 2));
}

int rowBytes(int width, int bits)
{
    return (width * bits + 31) / 32 * 4;
}

// A pixel of a square 4-bit image of an icon or cursor file, straight from
// its bytes: a 40-byte header, 16 colours, then colour rows and mask rows,
// both bottom-up. Transparent is 0.
QRgb storedPixel(const QByteArray &bytes, int offset, int size, int x, int y)
{
    const int palette = offset + 40;
    const int colourRows = palette + 16 * 4;
    const int maskRows = colourRows + rowBytes(size, 4) * size;
    const int row = size - 1 - y;
    if ((quint8(bytes[maskRows + rowBytes(size, 1) * row + x / 8]) >> (7 - x % 8)) & 1)
        return 0;
    const quint8 pair = quint8(bytes[colourRows + rowBytes(size, 4) * row + x / 2]);
    const int colour = palette + 4 * (x % 2 ? pair & 15 : pair >> 4);
    return qRgb(quint8(bytes[colour + 2]), quint8(bytes[colour + 1]), quint8(bytes[colour]));
}

QImage readImage(const QString &name, int index)
{
    QImageReader reader(QStringLiteral(":/widgets/assets/") + name);
    return reader.jumpToImage(index) ? reader.read().convertToFormat(QImage::Format_ARGB32)
                                     : QImage();
}

} // namespace

class tst_Assets : public QObject {
    Q_OBJECT

private slots:
    void lengths_data();
    void lengths();
    void titlePicture();
    void iconImages_data();
    void iconImages();
    void icon();
    void cursor();
    void handCursorAndIcon();
    void hotSpotOfHostileHeaders_data();
    void hotSpotOfHostileHeaders();
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
    QCOMPARE(committed(name).size(), length);
    QCOMPARE(resource(name), committed(name));
}

void tst_Assets::titlePicture()
{
    const QByteArray bytes = committed(QStringLiteral("title.bmp"));
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

void tst_Assets::iconImages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QPoint>("hotSpot"); // where an icon keeps planes and bit count
    QTest::newRow("icon 32") << "tropinets.ico" << 0 << 32 << 6 + 2 * 16 << QPoint(1, 4);
    QTest::newRow("icon 16") << "tropinets.ico" << 1 << 16 << 38 + 744 << QPoint(1, 4);
    QTest::newRow("cursor") << "hand.cur" << 0 << 32 << 6 + 16 << QPoint(12, 1);
}

void tst_Assets::iconImages()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(int, size);
    QFETCH(int, offset);
    QFETCH(QPoint, hotSpot);
    const QByteArray bytes = resource(name);
    const int entry = 6 + 16 * index;
    QCOMPARE(quint8(bytes[entry]), size);
    QCOMPARE(quint8(bytes[entry + 1]), size);
    QCOMPARE(quint8(bytes[entry + 2]), 16); // colours
    QCOMPARE(QPoint(word(bytes, entry + 4), word(bytes, entry + 6)), hotSpot);
    // Header, palette, 4-bit rows and the mask, nothing more and nothing less.
    const int length = 40 + 64 + (rowBytes(size, 4) + rowBytes(size, 1)) * size;
    QCOMPARE(dword(bytes, entry + 8), quint32(length));
    QCOMPARE(dword(bytes, entry + 12), quint32(offset));
    QVERIFY(offset + length <= bytes.size());
    QCOMPARE(dword(bytes, offset + 8), quint32(2 * size)); // colour rows and mask
    QCOMPARE(word(bytes, offset + 14), quint16(4));

    // Qt's reader gives the stored pixels.
    const QImage image = readImage(name, index);
    QCOMPARE(image.size(), QSize(size, size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            QCOMPARE(image.pixel(x, y), storedPixel(bytes, offset, size, x, y));
    }
}

void tst_Assets::icon()
{
    const QByteArray bytes = resource(QStringLiteral("tropinets.ico"));
    QCOMPARE(word(bytes, 2), quint16(1));
    QCOMPARE(word(bytes, 4), quint16(2));
    QCOMPARE(QImageReader(QStringLiteral(":/widgets/assets/tropinets.ico")).imageCount(), 2);
    // The book's cover is red, and the corners are see-through.
    for (const int index : { 0, 1 }) {
        const QImage image = readImage(QStringLiteral("tropinets.ico"), index);
        bool red = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red = red || image.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(red);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    }
}

void tst_Assets::cursor()
{
    const QByteArray bytes = resource(QStringLiteral("hand.cur"));
    QCOMPARE(word(bytes, 2), quint16(2));
    QCOMPARE(word(bytes, 4), quint16(1));
    QCOMPARE(cursorHotSpot(bytes), QPoint(12, 1));

    // The hot spot is the fingertip: the top of the hand, nothing above it.
    const QImage image = readImage(QStringLiteral("hand.cur"), 0);
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

void tst_Assets::hotSpotOfHostileHeaders_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QPoint>("hotSpot"); // (-1, -1): none
    const QByteArray hand = resource(QStringLiteral("hand.cur"));
    const auto patched = [&hand](int at, QByteArray with) {
        QByteArray bytes = hand;
        bytes.replace(at, with.size(), with);
        return bytes;
    };
    const QPoint none(-1, -1);
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("text") << QByteArray("hello, this is not a cursor at all") << none;
    QTest::newRow("bitmap") << committed(QStringLiteral("title.bmp")) << none;
    QTest::newRow("icon") << resource(QStringLiteral("tropinets.ico")) << none;
    QTest::newRow("header only") << hand.first(6) << none;
    QTest::newRow("directory cut") << hand.first(21) << none;
    QTest::newRow("directory whole") << hand.first(22) << QPoint(12, 1);
    QTest::newRow("reserved") << patched(0, QByteArray("\x01\x00", 2)) << none;
    QTest::newRow("type 3") << patched(2, QByteArray("\x03\x00", 2)) << none;
    QTest::newRow("no images") << patched(4, QByteArray("\x00\x00", 2)) << none;
    QTest::newRow("x outside") << patched(10, QByteArray("\x20\x00", 2)) << none;
    QTest::newRow("y outside") << patched(12, QByteArray("\x20\x00", 2)) << none;
    QTest::newRow("x huge") << patched(10, QByteArray("\xff\xff", 2)) << none;
    QTest::newRow("width 256") << patched(6, QByteArray("\x00\x00\x00\x00\xc8\x00", 6))
                               << QPoint(200, 1);
}

void tst_Assets::hotSpotOfHostileHeaders()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QPoint, hotSpot);
    QCOMPARE(cursorHotSpot(bytes).value_or(QPoint(-1, -1)), hotSpot);
}

QTEST_MAIN(tst_Assets)
#include "tst_assets.moc"
