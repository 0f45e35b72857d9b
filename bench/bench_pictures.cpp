#include "BenchSupport.h"
#include "story/PictureLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>

// bench_pictures            makes four 6000 x 4000 JPEGs in a temporary folder and times loading them
// bench_pictures --make DIR makes the four JPEGs in DIR
// bench_pictures DIR        loads the four JPEGs of DIR once, for /usr/bin/time -v

namespace {

constexpr int PhotoWidth = 6000;
constexpr int PhotoHeight = 4000;
constexpr int PhotoCount = 4;

QString photoPath(const QString &dir, int k)
{
    return QDir(dir).filePath(QStringLiteral("photo%1.jpg").arg(k));
}

// Gradients with fine noise, so the files are about as big as real photos.
bool makePhotos(const QString &dir)
{
    QImage image(PhotoWidth, PhotoHeight, QImage::Format_RGB32);
    for (int k = 0; k < PhotoCount; ++k) {
        quint32 seed = 7919u * (k + 1);
        for (int y = 0; y < PhotoHeight; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < PhotoWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = int(seed >> 28);
                line[x] = qRgb((x * 255 / PhotoWidth + noise) & 0xFF,
                               (y * 255 / PhotoHeight + noise) & 0xFF, (k * 60 + noise) & 0xFF);
            }
        }
        QImageWriter writer(photoPath(dir, k), "jpeg");
        writer.setQuality(90);
        if (!writer.write(image))
            return false;
    }
    return true;
}

// Keeps all four, as the editor's frames do.
qint64 loadAll(const QString &dir)
{
    QList<QImage> pictures;
    qint64 pixels = 0;
    for (int k = 0; k < PhotoCount; ++k) {
        const LoadedPicture picture = PictureLoader::load(photoPath(dir, k));
        if (!picture.ok())
            qFatal("%s", qPrintable(picture.error));
        pictures << picture.image;
        pixels += qint64(picture.image.width()) * picture.image.height();
    }
    return pixels;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 2 && args[0] == QLatin1String("--make"))
        return makePhotos(args[1]) ? 0 : 1;

    if (args.size() == 1) {
        QElapsedTimer timer;
        timer.start();
        const qint64 pixels = loadAll(args[0]);
        out << "Loaded " << PhotoCount << " JPEGs of " << PhotoWidth << "x" << PhotoHeight
            << " in " << timer.elapsed() << " ms, " << pixels / PhotoCount << " pixels each\n";
        return 0;
    }

    QTemporaryDir dir;
    if (!dir.isValid() || !makePhotos(dir.path()))
        return 1;
    measure(QStringLiteral("PictureLoader::load, four %1x%2 JPEGs").arg(PhotoWidth).arg(PhotoHeight),
            [&] { loadAll(dir.path()); });
    return 0;
}
