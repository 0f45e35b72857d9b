#include "Bitmaps.h"
#include "IconPictures.h"
#include "SamplePictures.h"
#include "SampleStories.h"
#include "TitlePicture.h"

#include "files/Cp1251.h"
#include "story/StoryFiles.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QTextStream(stderr) << "cannot write " << path << ": " << file.errorString() << '\n';
        return false;
    }
    QTextStream(stdout) << path << ' ' << bytes.size() << '\n';
    return true;
}

// A bitmap (24 bits from an opaque image), a JPEG or a PNG, by the suffix.
bool writeImage(const QString &path, QImage image)
{
    // Every format records a resolution: the designs' 96 dpi, not that of
    // the screen the generator happens to run on.
    const int dotsPerMeter = qRound(96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    const QByteArray format = QFileInfo(path).suffix().toUpper().toLatin1();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format.constData(), format == "JPG" ? 90 : -1)) {
        QTextStream(stderr) << "cannot encode " << path << '\n';
        return false;
    }
    return write(path, buffer.data());
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir root(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TROPINETS_SOURCE_DIR));
    const QDir assets(root.filePath(QStringLiteral("widgets/assets")));
    const QDir out(root.filePath(QStringLiteral("tools/out")));
    bool ok = true;

    ok &= writeImage(assets.filePath(QStringLiteral("title.bmp")), TitlePicture::draw());
    // The desktop's icons show the very pixels of the program's own icon.
    const QImage book32 = Bitmaps::iconPixels(IconPictures::book(32));
    const QImage book16 = Bitmaps::iconPixels(IconPictures::book(16));
    ok &= write(assets.filePath(QStringLiteral("tropinets.ico")),
        Bitmaps::icon({ { book32, {} }, { book16, {} } }, false));
    ok &= writeImage(out.filePath(QStringLiteral("tropinets-32.png")), book32);
    ok &= writeImage(out.filePath(QStringLiteral("tropinets-16.png")), book16);
    ok &= writeImage(out.filePath(QStringLiteral("tropinets-128.png")), IconPictures::book(128));
    ok &= write(assets.filePath(QStringLiteral("hand.cur")),
        Bitmaps::icon(
            { { IconPictures::hand(), QPoint(IconPictures::HandHotX, IconPictures::HandHotY) } },
            true));

    const QDir pictures(root.filePath(QStringLiteral("samples/Картинки")));
    for (const SamplePictures::Picture &picture : SamplePictures::all())
        ok &= writeImage(pictures.filePath(picture.fileName), picture.image);

    // The samples keep to Windows-1251, which every version of the program reads.
    const QDir stories(root.filePath(QStringLiteral("samples/Рассказы")));
    for (const SampleStories::Story &story : SampleStories::all()) {
        if (!Cp1251::canEncode((story.texts + story.pictures).join(QString()))) {
            QTextStream(stderr) << "cannot encode " << story.fileName << " in Windows-1251\n";
            ok = false;
            continue;
        }
        const QString path = stories.filePath(story.fileName);
        ok &= write(path, StoryFiles::encodeLines(story.texts));
        ok &= write(StoryFiles::pictureListPath(path), StoryFiles::encodeLines(story.pictures));
    }
    return ok ? 0 : 1;
}
