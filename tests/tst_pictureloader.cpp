#include "story/PictureLoader.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

#include <QtEndian>

namespace {

QImage testImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    for (int y = 0; y < height / 2; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(40, 40, 200));
    }
    return image;
}

// A BMP header claiming a picture of the given size, with no pixels after it.
QByteArray bmpHeader(qint32 width, qint32 height)
{
    QByteArray bytes(54, '\0');
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + quint32(width) * 3 * quint32(height));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, 24);
    return bytes;
}

} // namespace

class tst_PictureLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyPath();
    void loads_data();
    void loads();
    void refuses_data();
    void refuses();
    void hugeJpegHeaderRefused();
    void truncatedJpegShowsWhatDecoded();
    void largeJpegDecodedReduced();
    void decodeSize_data();
    void decodeSize();

private:
    QString write(const QString &name, const QImage &image, const char *format);

    QTemporaryDir m_dir;
};

void tst_PictureLoader::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString tst_PictureLoader::write(const QString &name, const QImage &image, const char *format)
{
    const QString path = m_dir.filePath(name);
    QImageWriter writer(path, format);
    if (!writer.write(image))
        qWarning("cannot write %s: %s", qPrintable(path), qPrintable(writer.errorString()));
    return path;
}

void tst_PictureLoader::emptyPath()
{
    const LoadedPicture picture = PictureLoader::load(QString());
    QVERIFY(picture.ok());
    QVERIFY(picture.image.isNull());
}

void tst_PictureLoader::loads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("BMP") << "a.bmp" << QByteArray("bmp");
    QTest::newRow("JPEG") << "a.jpg" << QByteArray("jpeg");
    QTest::newRow("JPEG named .bmp") << "jpeg.bmp" << QByteArray("jpeg");
    QTest::newRow("BMP named .jpg") << "bmp.jpg" << QByteArray("bmp");
    QTest::newRow("JPEG named .jpeg") << "b.jpeg" << QByteArray("jpeg");
    QTest::newRow("JPEG without extension") << "photo" << QByteArray("jpeg");
    QTest::newRow("Cyrillic name") << QStringLiteral("лиса.jpg") << QByteArray("jpeg");
}

void tst_PictureLoader::loads()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    const QString path = write(name, testImage(120, 80), format.constData());
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), QSize(120, 80));
    // Top half blue, bottom half red, whatever the format's losses.
    QVERIFY(qBlue(picture.image.pixel(60, 10)) > 150);
    QVERIFY(qRed(picture.image.pixel(60, 70)) > 150);
}

void tst_PictureLoader::refuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // "-" for none: the file is not made
    QTest::addColumn<QString>("says");
    QTest::newRow("missing") << "missing.jpg" << QByteArray("-") << QStringLiteral("не найден");
    QTest::newRow("empty file") << "empty.jpg" << QByteArray() << QStringLiteral("не картинка");
    QTest::newRow("text") << "story.bmp" << QByteArray("Жили-были\r\n")
                          << QStringLiteral("не картинка");
    QTest::newRow("PNG") << "png.jpg" << QByteArray("png") << QStringLiteral("не картинка");
    QTest::newRow("BMP header, no pixels") << "short.bmp" << bmpHeader(100, 100)
                                           << QStringLiteral("Не удалось прочитать");
    QTest::newRow("BMP claims 100000 x 100000") << "huge.bmp" << bmpHeader(100000, 100000)
                                                << QStringLiteral("картинк");
    // The rest are sparse files as long as their headers claim.
    QTest::newRow("BMP 16000 x 16000") << "big.bmp" << bmpHeader(16000, 16000)
                                       << QStringLiteral("16000 × 16000 точек");
    QTest::newRow("BMP 9000 x 8000, too much to decode whole")
        << "wide.bmp" << bmpHeader(9000, 8000) << QStringLiteral("9000 × 8000 точек");
    QTest::newRow("BMP claims negative width") << "neg.bmp" << bmpHeader(-5, 10)
                                               << QStringLiteral("картинк");
    QTest::newRow("folder") << "folder.jpg" << QByteArray("dir") << QStringLiteral("не файл");
}

void tst_PictureLoader::refuses()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, says);
    const QString path = m_dir.filePath(name);
    if (content == "dir")
        QVERIFY(QDir().mkpath(path));
    else if (content == "png")
        write(name, testImage(10, 10), "png");
    else if (content != "-")
        QVERIFY(writeAll(path, content));
    if (name == QLatin1String("big.bmp") || name == QLatin1String("wide.bmp")) {
        QFile file(path);
        const qint64 claimed = qFromLittleEndian<quint32>(content.constData() + 2);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(claimed));
    }

    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY(!picture.ok());
    QVERIFY(picture.image.isNull());
    QVERIFY2(picture.error.contains(says), qPrintable(picture.error));
    QVERIFY(picture.error.contains(QDir::toNativeSeparators(path)));
}

void tst_PictureLoader::hugeJpegHeaderRefused()
{
    // A real JPEG whose frame header is patched to claim 60000 x 60000.
    const QString path = write(QStringLiteral("claims.jpg"), testImage(64, 48), "jpeg");
    QByteArray bytes = readAll(path);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    QVERIFY(sof > 0);
    qToBigEndian(quint16(60000), bytes.data() + sof + 5);
    qToBigEndian(quint16(60000), bytes.data() + sof + 7);
    QVERIFY(writeAll(path, bytes));

    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY(!picture.ok());
    QVERIFY2(picture.error.contains(QStringLiteral("60000 × 60000")), qPrintable(picture.error));
}

void tst_PictureLoader::truncatedJpegShowsWhatDecoded()
{
    // A photo cut short in copying still shows: the decoded top rows keep
    // their colour and the rest is filled in by the decoder.
    const QString path = write(QStringLiteral("cut.jpg"), testImage(400, 300), "jpeg");
    QByteArray bytes = readAll(path);
    QVERIFY(writeAll(path, bytes.left(bytes.size() * 2 / 3)));
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), QSize(400, 300));
    QVERIFY(qBlue(picture.image.pixel(200, 10)) > 150);

    // Cut inside the header, nothing can be shown.
    QVERIFY(writeAll(path, bytes.left(20)));
    QVERIFY(!PictureLoader::load(path).ok());
}

void tst_PictureLoader::largeJpegDecodedReduced()
{
    const QString path = write(QStringLiteral("photo.jpg"), testImage(4000, 3000), "jpeg");
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), QSize(1500, 1125));
    QVERIFY(qBlue(picture.image.pixel(750, 100)) > 150);
    QVERIFY(qRed(picture.image.pixel(750, 1000)) > 150);
}

void tst_PictureLoader::decodeSize_data()
{
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("small stays") << QSize(169, 130) << QSize(169, 130);
    QTest::newRow("at the cap") << QSize(1500, 1000) << QSize(1500, 1000);
    QTest::newRow("just over") << QSize(1501, 1000) << QSize(1500, 999);
    QTest::newRow("24 MP photo") << QSize(6000, 4000) << QSize(1500, 1000);
    QTest::newRow("12 MP portrait") << QSize(3000, 4000) << QSize(1125, 1500);
    // A narrow strip keeps its short side printable instead.
    QTest::newRow("panorama") << QSize(10000, 1000) << QSize(4720, 472);
    QTest::newRow("narrow strip") << QSize(300, 5000) << QSize(300, 5000);
}

void tst_PictureLoader::decodeSize()
{
    QFETCH(QSize, full);
    QFETCH(QSize, decoded);
    QCOMPARE(PictureLoader::decodeSize(full), decoded);
    const QSize size = PictureLoader::decodeSize(full);
    QVERIFY(std::min(size.width(), size.height())
            >= std::min({PictureLoader::KeepAcross, full.width(), full.height()}));
}

QTEST_GUILESS_MAIN(tst_PictureLoader)
#include "tst_pictureloader.moc"
