#include "BenchSupport.h"
#include "pictures/PictureLoader.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>

// bench_pictures                   one 6000 x 4000 BMP into a frame against `cat` of the
//                                  file, and the peak memory of doing it
// bench_pictures --peak-bmp FILE   loads the BMP into a frame in this fresh process and
//                                  prints the peak memory above idle (VmHWM after, reset
//                                  to VmRSS before)

namespace {

constexpr QSize PhotoSize(6000, 4000);
constexpr QSize FrameSize(169, 130);

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

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("--peak-bmp")) {
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
    const qint64 peak = runSelf({ QStringLiteral("--peak-bmp"), photo }).trimmed().toLongLong();
    printMemoryRow(QStringLiteral("BMP into a frame, peak above idle, MiB / 20 MiB"),
        peak / (1024.0 * 1024.0), 20);
    return 0;
}
