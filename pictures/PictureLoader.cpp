#include "pictures/PictureLoader.h"

#include "pictures/BmpReader.h"
#include "pictures/JpegHeader.h"
#include "pictures/PictureReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <optional>

namespace {

// A picture, or why there is none: a reason, or its size when too big.
struct Decoded {
    QImage image;
    QString reason;
    std::optional<QSize> tooBigSize = std::nullopt;
};

bool fits(QSize size)
{
    return size.width() <= PictureLoader::MaxSide && size.height() <= PictureLoader::MaxSide
        && qint64(size.width()) * size.height() <= PictureLoader::MaxPixels;
}

// A BMP is read a row at a time, so its memory is a few rows of MaxSide
// points at most, far inside the budget: only its size can refuse it.
Decoded readBmp(QFile &file, PictureLoader::Proportions proportions)
{
    BmpReader bmp(file);
    if (!bmp.problem().isEmpty())
        return { QImage(), bmp.problem() };
    if (!fits(bmp.size()))
        return { QImage(), QString(), bmp.size() };
    const QImage image = bmp.read(PictureLoader::decodeSize(bmp.size(), proportions));
    return { image, bmp.problem() };
}

Decoded readJpeg(QFile &file, PictureLoader::Proportions proportions)
{
    const JpegHeader header(file);
    if (!header.problem().isEmpty())
        return { QImage(), header.problem() };
    file.seek(0);
    QImageReader reader(&file, "jpeg");
    // The header's turn is the one turn.
    reader.setAutoTransform(false);
    reader.setAllocationLimit(int(PictureLoader::MemoryBudget / (1024 * 1024)));
    // The kept size is taken upright, and asked of the decoder as stored.
    const bool turned = header.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize stored = header.size();
    const QSize upright = turned ? stored.transposed() : stored;
    const QSize kept = PictureLoader::decodeSize(upright, proportions);
    const QSize wanted = turned ? kept.transposed() : kept;
    if (!fits(stored) || header.decodingBytes(wanted) > PictureLoader::MemoryBudget)
        return { QImage(), QString(), upright };
    if (wanted != stored)
        reader.setScaledSize(wanted);
    const QImage image = header.upright(reader.read());
    return { image, image.isNull() ? PictureReasons::damaged() : QString() };
}

} // namespace

LoadedPicture PictureLoader::load(const QString &path, Proportions proportions)
{
    if (path.isEmpty())
        return {};
    const QString name = QDir::toNativeSeparators(path);
    const auto refused = [](const QString &error) { return LoadedPicture { QImage(), error }; };
    const auto unreadable = [&](const QString &reason) {
        return refused(QStringLiteral("Не удалось прочитать картинку «%1»: %2.").arg(name, reason));
    };
    const QFileInfo info(path);
    if (!info.exists())
        return refused(QStringLiteral("Файл «%1» не найден.").arg(name));
    if (!info.isFile())
        return refused(QStringLiteral("«%1» — это не файл с картинкой.").arg(name));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return unreadable(file.error() == QFileDevice::PermissionsError
                ? QStringLiteral("нет прав на чтение файла")
                : QStringLiteral("файл не открывается"));
    }

    // Told by the content, not the name.
    const QByteArray start = file.peek(2);
    Decoded decoded;
    if (start == "BM")
        decoded = readBmp(file, proportions);
    else if (start == "\xFF\xD8")
        decoded = readJpeg(file, proportions);
    else
        return refused(QStringLiteral("Файл «%1» — не картинка BMP или JPEG.").arg(name));
    if (const std::optional<QSize> size = decoded.tooBigSize) {
        return refused(QStringLiteral("Картинка «%1» слишком большая: %2 × %3 точек.")
                           .arg(name)
                           .arg(size->width())
                           .arg(size->height()));
    }
    if (decoded.image.isNull())
        return unreadable(decoded.reason);
    return { fullColour(decoded.image), QString() };
}

QSize PictureLoader::decodeSize(QSize full, Proportions proportions)
{
    const QSize kept = full.boundedTo(KeptSize);
    if (proportions == Proportions::Stretched || kept == full)
        return kept;
    // Rounded, not cut as QSize::scaled cuts: a narrow side keeps its share.
    const double scale = std::min(
        double(KeptSize.width()) / full.width(), double(KeptSize.height()) / full.height());
    return QSize(
        std::max(1, qRound(full.width() * scale)), std::max(1, qRound(full.height() * scale)));
}

QImage PictureLoader::fullColour(const QImage &picture)
{
    switch (picture.format()) {
    case QImage::Format_Invalid:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return picture;
    default:
        return picture.convertToFormat(
            picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
}
