#include "BenchSupport.h"
#include "pictures/PictureLoader.h"
#include "support/MagickPictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>

// bench_pictures               one 6000 x 4000 BMP into a frame against `cat` of the file,
//                              and the worst peak memory of loading a picture of every kind
//                              ImageMagick writes, with the largest of them a pupil may bring
// bench_pictures --peak FILE   loads the picture into a frame in this fresh process and
//                              prints the peak memory above idle (VmHWM after, reset to
//                              VmRSS before)

namespace {

constexpr QSize PhotoSize(6000, 4000);
constexpr QSize FrameSize(169, 130);
constexpr double MiB = 1024.0 * 1024.0;

// A 24-bit BMP of gradients with fine noise, as a scanned photo would be.
bool makePhoto(const QString &path)
{
    QImage image(PhotoSize, QImage::Format_RGB888);
    quint32 seed = 7919u;
    for (int y = 0; y < PhotoSize.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < PhotoSize.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28);
            line[3 * x] = uchar(x * 255 / PhotoSize.width() + noise);
            line[3 * x + 1] = uchar(y * 255 / PhotoSize.height() + noise);
            line[3 * x + 2] = uchar(60 + noise);
        }
    }
    return QImageWriter(path, "bmp").write(image);
}

// What choosing the picture for a frame does: load, and scale for the
// frame's box as the frame paints it.
QImage intoFrame(const QString &path)
{
    const LoadedPicture picture = PictureLoader::load(path);
    if (!picture.ok())
        qFatal("%s", qPrintable(picture.error));
    return picture.image.scaled(FrameSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// A 1-bit BMP of 8192 x 8192 dots, scattered as a dithered scan: larger
// than ImageMagick's limits on Debian let it write.
bool makeBigMono(const QString &path)
{
    QImage image(8192, 8192, QImage::Format_Mono);
    quint32 seed = 7919u;
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int i = 0; i < image.bytesPerLine(); ++i, seed = seed * 1664525u + 1013904223u)
            line[i] = uchar(seed >> 24);
    }
    return QImageWriter(path, "bmp").write(image);
}

// Every kind the tests compare with ImageMagick, and the largest pictures:
// those that once took the most memory, and a progressive JPEG, which is
// held whole while it decodes, just inside the budget.
QList<MagickPicture> everyKind()
{
    using P = MagickPicture;
    return magickPictures()
        + QList<P> {
              { "8 bit, RLE8, claiming 8192 x 8192", "BMP3 -type Palette -compress RLE", P::Claim,
                  8192 },
              { "32 bit, masks, 6000 x 4000", "BMP -alpha set", P::None, 0, PhotoSize },
              { "24 bit, 6000 x 4000", "BMP3 -type TrueColor", P::None, 0, PhotoSize },
              { "JPEG, 6000 x 4000, turned", "JPG", P::Exif, 6, PhotoSize },
              { "JPEG, progressive, 3900 x 2600", "JPG -interlace Plane -quality 95", P::Exif, 1,
                  QSize(3900, 2600) },
          };
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--peak")) {
        const qint64 before = currentMemory();
        resetPeakMemory();
        const QImage frame = intoFrame(args[1]);
        QTextStream(stdout) << peakMemory() - before << '\n';
        return frame.isNull() ? 1 : 0;
    }

    printRatioHeader();
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/bench_pictures-XXXXXX"));
    const QString photo = dir.filePath(QStringLiteral("photo.bmp"));
    if (!dir.isValid() || !makePhoto(photo))
        return 1;
    compare(QStringLiteral("One 6000x4000 BMP into a frame / cat"),
        timed([&] { intoFrame(photo); }), process(QStringLiteral("cat"), { photo }));

    const QString mono = dir.filePath(QStringLiteral("mono.bmp"));
    if (!makeBigMono(mono))
        return 1;
    double worst = runSelf({ QStringLiteral("--peak"), mono }).trimmed().toLongLong() / MiB;
    QTextStream(stderr) << "1 bit, 8192 x 8192: " << worst << " MiB\n";
    const QList<MagickPicture> pictures = everyKind();
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        // Named by number: some names hold a slash.
        const MagickPicture &picture = pictures[i];
        const QString path = dir.filePath(QString::number(i));
        if (makePicture(picture, path, QSize(1, 1)).isNull())
            qFatal("cannot make %s: are imagemagick and exiftool installed?",
                qPrintable(picture.name));
        const double peak
            = runSelf({ QStringLiteral("--peak"), path }).trimmed().toLongLong() / MiB;
        QTextStream(stderr) << picture.name << ": " << peak << " MiB\n";
        worst = std::max(worst, peak);
    }
    printMemoryRow(QStringLiteral("Picture into a frame, worst peak above idle, MiB / 64 MiB"),
        worst, PictureLoader::MemoryBudget / MiB);
    return 0;
}
