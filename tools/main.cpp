#include "Bitmaps.h"
#include "IconPictures.h"
#include "SamplePictures.h"
#include "SampleStories.h"
#include "TitlePicture.h"

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

bool writeImage(const QString &path, const QImage &image)
{
    if (path.endsWith(QLatin1String(".bmp")))
        return write(path, Bitmaps::bmp24(image));
    const bool png = path.endsWith(QLatin1String(".png"));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, png ? "PNG" : "JPG", png ? -1 : 90)) {
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
    const QDir assets(root.filePath(QStringLiteral("windows/assets")));
    bool ok = true;

    ok &= write(assets.filePath(QStringLiteral("title.bmp")), Bitmaps::bmp24(TitlePicture::draw()));
    ok &= write(assets.filePath(QStringLiteral("tropinets.ico")),
        Bitmaps::icon({{IconPictures::book(32), {}}, {IconPictures::book(16), {}}}, false));
    ok &= write(assets.filePath(QStringLiteral("hand.cur")),
        Bitmaps::icon(
            {{IconPictures::hand(), QPoint(IconPictures::HandHotX, IconPictures::HandHotY)}},
            true));
    ok &= writeImage(
        root.filePath(QStringLiteral("tools/out/tropinets-128.png")), IconPictures::book(128));

    const QDir pictures(root.filePath(QStringLiteral("samples/Картинки")));
    for (const auto &picture : SamplePictures::fox() + SamplePictures::zebra())
        ok &= writeImage(pictures.filePath(picture.fileName), picture.image);

    const QDir stories(root.filePath(QStringLiteral("samples/Рассказы")));
    for (const SampleStories::Story &story : SampleStories::all()) {
        const QString listName
            = story.fileName.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".il");
        const QByteArray text = SampleStories::encode(story.texts);
        const QByteArray list = SampleStories::encode(story.pictures);
        if (text.isEmpty() || list.isEmpty()) {
            QTextStream(stderr) << "cannot encode " << story.fileName << " in Windows-1251\n";
            ok = false;
            continue;
        }
        ok &= write(stories.filePath(story.fileName), text);
        ok &= write(stories.filePath(listName), list);
    }
    return ok ? 0 : 1;
}
