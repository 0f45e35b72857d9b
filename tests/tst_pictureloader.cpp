#include "pictures/PictureLoader.h"
#include "support/MagickPictures.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QStandardPaths>
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
QByteArray bmpHeader(
    qint32 width, qint32 height, quint16 bits = 24, quint32 compression = 0, quint32 infoBytes = 40)
{
    QByteArray bytes(54, '\0');
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + quint32(width) * 3 * quint32(height));
    put32(10, 54);
    put32(14, infoBytes);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, bits);
    put32(30, compression);
    return bytes;
}

// A small JPEG as Qt writes it, its frame claiming another size or depth.
QByteArray jpeg(bool progressive, QSize claims, int bits = 8)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(testImage(64, 48));
    char *frame = bytes.data() + bytes.indexOf(progressive ? "\xFF\xC2" : "\xFF\xC0");
    frame[4] = char(bits);
    qToBigEndian(quint16(claims.height()), frame + 5);
    qToBigEndian(quint16(claims.width()), frame + 7);
    return bytes;
}

} // namespace

class tst_PictureLoader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void emptyPath();
    void loads_data();
    void loads();
    void refuses_data();
    void refuses();
    void truncatedJpegShowsWhatDecoded();
    void largeJpegDecodedReduced();
    void decodeSize_data();
    void decodeSize();
    void bmpAgainstQt_data();
    void bmpAgainstQt();
    void bmpCutShort();
    void writtenByOthers_data();
    void writtenByOthers();

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
    QTest::newRow("BMP header, no pixels")
        << "short.bmp" << bmpHeader(100, 100) << QStringLiteral("файл обрезан");
    QTest::newRow("BMP header cut short")
        << "cut.bmp" << bmpHeader(100, 100).left(30) << QStringLiteral("файл обрезан");
    QTest::newRow("RLE8 rows missing")
        << "rle.bmp" << bmpHeader(4, 2, 8, 1) + QByteArray(1024, '\0') + QByteArray("\4\1\0\0", 4)
        << QStringLiteral("файл обрезан");
    QTest::newRow("BMP header of 10 bytes")
        << "ten.bmp" << bmpHeader(4, 2, 24, 0, 10) << QStringLiteral("данные картинки повреждены");
    QTest::newRow("BMP holding a JPEG") << "jpeg.bmp" << bmpHeader(4, 2, 0, 4)
                                        << QStringLiteral("не показывает BMP со сжатием JPEG");
    QTest::newRow("BMP of 2 bits a point")
        << "two.bmp" << bmpHeader(4, 2, 2)
        << QStringLiteral("не показывает BMP с 2 битами на точку");
    QTest::newRow("BMP claims 100000 x 100000")
        << "huge.bmp" << bmpHeader(100000, 100000) << QStringLiteral("100000 × 100000 точек");
    // The rest are sparse files as long as their headers claim.
    QTest::newRow("BMP 16000 x 16000")
        << "big.bmp" << bmpHeader(16000, 16000) << QStringLiteral("16000 × 16000 точек");
    QTest::newRow("BMP wider than any screen")
        << "wide.bmp" << bmpHeader(30001, 10) << QStringLiteral("30001 × 10 точек");
    QTest::newRow("BMP top row first, too tall")
        << "tall.bmp" << bmpHeader(1001, -40000) << QStringLiteral("1001 × 40000 точек");
    QTest::newRow("BMP claims negative width")
        << "neg.bmp" << bmpHeader(-5, 10) << QStringLiteral("данные картинки повреждены");
    QTest::newRow("JPEG claims 60000 x 60000") << "claims.jpg" << jpeg(false, QSize(60000, 60000))
                                               << QStringLiteral("60000 × 60000 точек");
    // Held whole until its last scan: more than the budget.
    QTest::newRow("progressive JPEG claims 9000 x 9000")
        << "prog.jpg" << jpeg(true, QSize(9000, 9000)) << QStringLiteral("9000 × 9000 точек");
    QTest::newRow("JPEG of 12 bits a colour") << "twelve.jpg" << jpeg(false, QSize(64, 48), 12)
                                              << QStringLiteral("JPEG с 12 битами на цвет");
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
    QVERIFY(PictureLoader::load(path).error.contains(QStringLiteral("файл обрезан")));
}

void tst_PictureLoader::largeJpegDecodedReduced()
{
    const QString path = write(QStringLiteral("photo.jpg"), testImage(4000, 3000), "jpeg");
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), PictureLoader::KeptSize);
    QVERIFY(qBlue(picture.image.pixel(236, 30)) > 150);
    QVERIFY(qRed(picture.image.pixel(236, 330)) > 150);
}

void tst_PictureLoader::decodeSize_data()
{
    // Stretched for the frames; in its own proportions for the web page.
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("decoded");
    QTest::addColumn<QSize>("own");
    QTest::newRow("small stays") << QSize(169, 130) << QSize(169, 130) << QSize(169, 130);
    QTest::newRow("the kept size") << QSize(473, 364) << QSize(473, 364) << QSize(473, 364);
    QTest::newRow("just over") << QSize(474, 365) << QSize(473, 364) << QSize(473, 364);
    QTest::newRow("24 MP photo") << QSize(6000, 4000) << QSize(473, 364) << QSize(473, 315);
    QTest::newRow("12 MP portrait") << QSize(3000, 4000) << QSize(473, 364) << QSize(273, 364);
    QTest::newRow("panorama") << QSize(10000, 300) << QSize(473, 300) << QSize(473, 14);
    QTest::newRow("narrow strip") << QSize(300, 5000) << QSize(300, 364) << QSize(22, 364);
    QTest::newRow("a line") << QSize(30000, 1) << QSize(473, 1) << QSize(473, 1);
}

void tst_PictureLoader::decodeSize()
{
    QFETCH(QSize, full);
    QFETCH(QSize, decoded);
    QFETCH(QSize, own);
    QCOMPARE(PictureLoader::decodeSize(full), decoded);
    QCOMPARE(PictureLoader::decodeSize(full, PictureLoader::Proportions::Own), own);
}

// Qt's own reading of a BMP, whole and then smoothly scaled: what ours must
// come close to.
QImage qtReading(const QString &path, QSize size)
{
    QImage image = QImage(path, "bmp").convertToFormat(QImage::Format_RGB32);
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
}

// The largest and the mean difference of the colours of the pixels.
std::pair<int, double> difference(const QImage &a, const QImage &b)
{
    int most = 0;
    qint64 total = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : { std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                     std::abs(qBlue(p) - qBlue(q)) }) {
                most = std::max(most, d);
                total += d;
            }
        }
    }
    return { most, double(total) / (3.0 * a.width() * a.height()) };
}

// Smooth colours under a red stripe 64 rows high, with a sharp edge.
QImage gradient(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y,
                y < 64 ? qRgb(250, 20, 20)
                       : qRgb(x * 255 / size.width(), y * 255 / size.height(), 128));
        }
    }
    return image.convertToFormat(format);
}

void tst_PictureLoader::bmpAgainstQt_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");
    // Against Qt's smooth scaling: the largest difference, and the mean,
    // as the parts' edges fall a little differently on a sharp edge. Rows
    // stored top first are in the ImageMagick table.
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<double>("meanTolerance");
    const int rgb = QImage::Format_RGB32, rgb888 = QImage::Format_RGB888,
              indexed = QImage::Format_Indexed8;
    // The same size: every pixel exactly as Qt reads it.
    QTest::newRow("24 bit") << QSize(121, 197) << rgb888 << 0 << 0.0;
    QTest::newRow("8 bit palette") << QSize(99, 130) << indexed << 0 << 0.0;
    QTest::newRow("32 bit") << QSize(40, 30) << rgb << 0 << 0.0;
    // Reduced: each pixel the average of its part, close to Qt's scaling.
    QTest::newRow("24 bit, reduced") << QSize(1419, 1092) << rgb888 << 4 << 1.0;
    QTest::newRow("24 bit, reduced, odd") << QSize(1001, 733) << rgb888 << 255 << 1.0;
    // Its palette's dithering is pixel noise that two filters average apart.
    QTest::newRow("8 bit, reduced") << QSize(950, 700) << indexed << 255 << 4.0;
}

void tst_PictureLoader::bmpAgainstQt()
{
    QFETCH(QSize, size);
    QFETCH(int, format);
    QFETCH(int, tolerance);
    QFETCH(double, meanTolerance);
    const QString path
        = write(QStringLiteral("gradient.bmp"), gradient(size, QImage::Format(format)), "bmp");
    const QImage expected = qtReading(path, PictureLoader::decodeSize(size));
    QVERIFY(!expected.isNull());
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY2(picture.ok(), qPrintable(picture.error));
    QCOMPARE(picture.image.size(), PictureLoader::decodeSize(size));
    const auto [most, mean]
        = difference(picture.image.convertToFormat(QImage::Format_RGB32), expected);
    QVERIFY2(most <= tolerance && mean <= meanTolerance,
        qPrintable(QStringLiteral("largest %1, mean %2").arg(most).arg(mean)));
}

void tst_PictureLoader::bmpCutShort()
{
    // Whole rows missing at the end: refused with a reason, as Qt would.
    const QString path
        = write(QStringLiteral("cut.bmp"), gradient(QSize(600, 500), QImage::Format_RGB888), "bmp");
    QVERIFY(writeAll(path, readAll(path).chopped(600 * 3 * 10)));
    const LoadedPicture picture = PictureLoader::load(path);
    QVERIFY(!picture.ok());
    QVERIFY2(
        picture.error.contains(QStringLiteral("Не удалось прочитать")), qPrintable(picture.error));
}

void tst_PictureLoader::writtenByOthers_data()
{
    QTest::addColumn<int>("index");
    if (!magickMade() && QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty())
        QSKIP("needs ImageMagick (imagemagick) and exiftool (libimage-exiftool-perl)");
    const QList<MagickPicture> pictures = magickPictures();
    for (int i = 0; i < pictures.size(); ++i)
        QTest::newRow(qPrintable(pictures[i].name)) << i;
}

void tst_PictureLoader::writtenByOthers()
{
    QFETCH(int, index);
    const MagickPicture picture = magickPictures().at(index);
    const bool turned = picture.change >= MagickPicture::Exif && picture.value >= 5;
    const QSize kept = PictureLoader::decodeSize(turned ? picture.size.transposed() : picture.size);
    const QString path = m_dir.filePath(QStringLiteral("magick%1").arg(index));
    const QImage theirs = makePicture(picture, path, kept);
    QVERIFY(!theirs.isNull());
    const LoadedPicture loaded = PictureLoader::load(path);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error));
    QCOMPARE(loaded.image.size(), kept);

    // Against ImageMagick's own reading, both on white: each channel's mean
    // difference.
    const QImage ours = loaded.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (const int shift : { 16, 8, 0 }) {
        double total = 0;
        for (int y = 0; y < kept.height(); ++y) {
            for (int x = 0; x < kept.width(); ++x) {
                const QRgb p = ours.pixel(x, y), q = theirs.pixel(x, y);
                total += std::abs(
                    int((p >> shift) & 255) + 255 - qAlpha(p) - int((q >> shift) & 255));
            }
        }
        const double mean = total / (kept.width() * kept.height());
        QVERIFY2(mean < 4, qPrintable(QStringLiteral("mean difference %1").arg(mean)));
    }
}

QTEST_GUILESS_MAIN(tst_PictureLoader)
#include "tst_pictureloader.moc"
