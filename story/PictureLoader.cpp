#include "story/PictureLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

QString named(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QSize PictureLoader::decodeSize(QSize full)
{
    const int longSide = std::max(full.width(), full.height());
    const int shortSide = std::min(full.width(), full.height());
    if (longSide <= MaxLongSide)
        return full;
    // Shrink to the long-side cap, but never below KeepAcross on the short
    // side unless the picture is that small to begin with.
    const double scale = std::max(double(MaxLongSide) / longSide,
                                  std::min(1.0, double(KeepAcross) / shortSide));
    if (scale >= 1.0)
        return full;
    return QSize(std::max(1, int(std::lround(full.width() * scale))),
                 std::max(1, int(std::lround(full.height() * scale))));
}

LoadedPicture PictureLoader::load(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.exists())
        return {QImage(), QStringLiteral("Файл «%1» не найден.").arg(named(path))};
    if (!info.isFile())
        return {QImage(), QStringLiteral("«%1» — это не файл с картинкой.").arg(named(path))};

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(AllocationLimitMB);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") {
        return {QImage(),
                QStringLiteral("Файл «%1» — не картинка BMP или JPEG.").arg(named(path))};
    }
    const QSize full = reader.size();
    if (!full.isValid() || full.isEmpty()) {
        return {QImage(), QStringLiteral("Не удалось прочитать картинку «%1».").arg(named(path))};
    }
    // Only JPEG is decoded reduced; anything else is decoded whole first.
    const qint64 pixels = qint64(full.width()) * full.height();
    const qint64 wholeBytes = format == "jpeg" ? 0 : pixels * 4;
    if (full.width() > MaxSide || full.height() > MaxSide || pixels > MaxPixels
        || wholeBytes > qint64(AllocationLimitMB) * 1024 * 1024) {
        return {QImage(), QStringLiteral("Картинка «%1» слишком большая: %2 × %3 точек.")
                              .arg(named(path))
                              .arg(full.width())
                              .arg(full.height())};
    }
    const QSize wanted = decodeSize(full);
    if (wanted != full)
        reader.setScaledSize(wanted);
    QImage image = reader.read();
    if (image.isNull()) {
        return {QImage(), QStringLiteral("Не удалось прочитать картинку «%1»: %2.")
                              .arg(named(path), reader.errorString())};
    }
    return {image, QString()};
}
