#include "pictures/PictureLoader.h"

#include "pictures/BmpBands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

QString named(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

LoadedPicture PictureLoader::load(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.exists())
        return { QImage(), QStringLiteral("Файл «%1» не найден.").arg(named(path)) };
    if (!info.isFile())
        return { QImage(), QStringLiteral("«%1» — это не файл с картинкой.").arg(named(path)) };

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(AllocationLimitMB);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") {
        return { QImage(),
            QStringLiteral("Файл «%1» — не картинка BMP или JPEG.").arg(named(path)) };
    }
    QSize full = reader.size();
    // Qt tells a BMP stored top row first by a negative height.
    if (format == "bmp" && full.height() < 0 && full.height() > -MaxSide)
        full.setHeight(-full.height());
    if (!full.isValid() || full.isEmpty()) {
        return { QImage(), QStringLiteral("Не удалось прочитать картинку «%1».").arg(named(path)) };
    }
    // A JPEG is decoded reduced and a common BMP in bands; Qt's reader
    // decodes other BMPs whole first, and the limit holds for every BMP.
    const qint64 pixels = qint64(full.width()) * full.height();
    const qint64 wholeBytes = format == "jpeg" ? 0 : pixels * 4;
    if (full.width() > MaxSide || full.height() > MaxSide || pixels > MaxPixels
        || wholeBytes > qint64(AllocationLimitMB) * 1024 * 1024) {
        return { QImage(),
            QStringLiteral("Картинка «%1» слишком большая: %2 × %3 точек.")
                .arg(named(path))
                .arg(full.width())
                .arg(full.height()) };
    }
    const QSize wanted = decodeSize(full);
    if (format == "bmp") {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return { QImage(),
                QStringLiteral("Не удалось прочитать картинку «%1»: %2.")
                    .arg(named(path), file.errorString()) };
        }
        BmpBands::Result bands = BmpBands::read(file, full, wanted);
        if (bands.outcome == BmpBands::Outcome::Read)
            return { bands.image, QString() };
        if (bands.outcome == BmpBands::Outcome::Failed) {
            return { QImage(),
                QStringLiteral("Не удалось прочитать картинку «%1»: %2.")
                    .arg(named(path), bands.reason) };
        }
    }
    if (wanted != full)
        reader.setScaledSize(wanted);
    QImage image = reader.read();
    if (image.isNull()) {
        return { QImage(),
            QStringLiteral("Не удалось прочитать картинку «%1»: %2.")
                .arg(named(path), reader.errorString()) };
    }
    return { image, QString() };
}
