#include "pictures/JpegHeader.h"

#include "pictures/PictureReasons.h"

#include <QIODevice>
#include <QTransform>

#include <algorithm>
#include <array>

namespace {

constexpr int StartOfScan = 0xDA;
constexpr int EndOfPicture = 0xD9;
constexpr int Exif = 0xE1;

// The frame markers: every 0xCn but 0xC4, 0xC8 and 0xCC, which are tables
// and a reserved code.
bool isFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// What a frame marker says the program cannot show, or empty.
QString unsupportedFrame(int marker, int precision)
{
    if ((marker & 3) == 3)
        return PictureReasons::unsupported(QStringLiteral("JPEG без потерь"));
    if ((marker >= 0xC5 && marker <= 0xC7) || marker >= 0xCD)
        return PictureReasons::unsupported(QStringLiteral("иерархический JPEG"));
    if (precision != 8)
        return PictureReasons::unsupported(
            QStringLiteral("JPEG с %1 битами на цвет").arg(precision));
    return QString();
}

// The orientation entry (0x0112) of the first directory of an EXIF block,
// a SHORT, LONG or SLONG in either byte order. Every offset and count is
// checked against the block, as a file may lie.
QImageIOHandler::Transformations exifTransformation(const QByteArray &segment)
{
    using T = QImageIOHandler;
    // By the orientation, 1 to 8.
    constexpr std::array<T::Transformation, 8> turns { T::TransformationNone,
        T::TransformationMirror, T::TransformationRotate180, T::TransformationFlip,
        T::TransformationFlipAndRotate90, T::TransformationRotate90,
        T::TransformationMirrorAndRotate90, T::TransformationRotate270 };
    const QByteArray tiff = segment.mid(6);
    const bool little = tiff.startsWith("II");
    // Past the block's end, 0.
    const auto number = [&](qint64 at, int bytes) {
        quint32 value = 0;
        for (int i = 0; i < bytes && at + bytes <= tiff.size(); ++i)
            value = value << 8 | uchar(tiff[at + (little ? bytes - 1 - i : i)]);
        return value;
    };
    if (!segment.startsWith(QByteArrayView("Exif\0\0", 6)) || (!little && !tiff.startsWith("MM"))
        || number(2, 2) != 42)
        return T::TransformationNone;
    const qint64 directory = number(4, 4);
    const qint64 end
        = std::min<qint64>(tiff.size(), directory + 2 + 12 * qint64(number(directory, 2)));
    for (qint64 entry = directory + 2; entry + 12 <= end; entry += 12) {
        if (number(entry, 2) != 0x0112)
            continue;
        // SHORT, then LONG and SLONG: one value, held in the entry.
        const quint32 type = number(entry + 2, 2);
        const quint32 value = type == 3 ? number(entry + 8, 2)
            : type == 4 || type == 9    ? number(entry + 8, 4)
                                        : 0;
        if (number(entry + 4, 4) == 1 && value >= 1 && value <= 8)
            return turns[value - 1];
        break;
    }
    return T::TransformationNone;
}

} // namespace

JpegHeader::JpegHeader(QIODevice &file)
    : m_problem(read(file))
{
}

QString JpegHeader::read(QIODevice &file)
{
    const auto byte = [&](int &value) {
        char c;
        if (!file.getChar(&c))
            return false;
        value = uchar(c);
        return true;
    };
    // After the start mark, which told the file a JPEG.
    if (!file.seek(2))
        return PictureReasons::cutShort();
    for (;;) {
        // A mark is FF and its code, maybe after more FF; stray bytes
        // between segments are passed over, as libjpeg does.
        int marker = 0;
        do {
            if (!byte(marker))
                return PictureReasons::cutShort();
        } while (marker != 0xFF);
        do {
            if (!byte(marker))
                return PictureReasons::cutShort();
        } while (marker == 0xFF);
        // Marks that stand alone, without a segment.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;
        if (marker == EndOfPicture)
            return PictureReasons::damaged();
        int high = 0, low = 0;
        if (!byte(high) || !byte(low))
            return PictureReasons::cutShort();
        const int length = (high << 8 | low) - 2;
        if (length < 0)
            return PictureReasons::damaged();

        if (marker == StartOfScan) {
            int inScan = 0;
            if (m_components.empty())
                return PictureReasons::damaged();
            if (!byte(inScan))
                return PictureReasons::cutShort();
            m_heldWhole = m_heldWhole || inScan < int(m_components.size());
            return QString();
        }
        if (marker == Exif && m_transformation == QImageIOHandler::TransformationNone) {
            const QByteArray segment = file.read(length);
            if (segment.size() != length)
                return PictureReasons::cutShort();
            m_transformation = exifTransformation(segment);
            continue;
        }
        if (!isFrame(marker)) {
            if (file.skip(length) != length)
                return PictureReasons::cutShort();
            continue;
        }
        const QByteArray frame = file.read(length);
        if (frame.size() != length)
            return PictureReasons::cutShort();
        const auto *f = reinterpret_cast<const uchar *>(frame.constData());
        const int count = length >= 6 ? f[5] : 0;
        if (count < 1 || count > 4 || length < 6 + 3 * count)
            return PictureReasons::damaged();
        const QString unsupported = unsupportedFrame(marker, f[0]);
        if (!unsupported.isEmpty())
            return unsupported;
        m_size = QSize(f[3] << 8 | f[4], f[1] << 8 | f[2]);
        m_components.clear();
        for (int i = 0; i < count; ++i) {
            const int sampling = f[6 + 3 * i + 1];
            m_components.push_back({ sampling >> 4, sampling & 15 });
            if (sampling >> 4 < 1 || sampling >> 4 > 4 || (sampling & 15) < 1
                || (sampling & 15) > 4)
                return PictureReasons::damaged();
        }
        // A height of 0 would come later, after the first scan.
        if (m_size.isEmpty())
            return PictureReasons::damaged();
        m_heldWhole = marker == 0xC2 || marker == 0xCA;
    }
}

QImage JpegHeader::upright(QImage stored) const
{
    // As Qt turns them: mirrored first, then turned a quarter clockwise.
    stored = std::move(stored).mirrored(m_transformation & QImageIOHandler::TransformationMirror,
        m_transformation & QImageIOHandler::TransformationFlip);
    if (m_transformation & QImageIOHandler::TransformationRotate90)
        return stored.transformed(QTransform().rotate(90));
    return stored;
}

qint64 JpegHeader::decodingBytes(QSize scaled) const
{
    // Qt's reader lets libjpeg reduce by 2, 4 or 8 while that stays no
    // smaller than asked, then scales the rest itself.
    const qint64 width = m_size.width(), height = m_size.height();
    int reduction = 1;
    while (reduction < 8 && width / (2 * reduction) >= scaled.width()
        && height / (2 * reduction) >= scaled.height())
        reduction *= 2;
    const qint64 reduced
        = ((width + reduction - 1) / reduction) * ((height + reduction - 1) / reduction);
    // The reader, its plugin and libjpeg's own tables: about 1 MiB as
    // measured, counted twice over.
    qint64 bytes = 2 * 1024 * 1024 + 4 * (reduced + qint64(scaled.width()) * scaled.height());

    int across = 1, down = 1;
    for (const Component &c : m_components) {
        across = std::max(across, c.across);
        down = std::max(down, c.down);
    }
    // The picture comes in units of 8 x across by 8 x down points, each
    // component in across x down blocks of 8 x 8 points.
    const qint64 unitsAcross = (width + 8 * across - 1) / (8 * across);
    const qint64 unitsDown = (height + 8 * down - 1) / (8 * down);
    for (const Component &c : m_components) {
        // Each block is 64 coefficients of two bytes: a row of units at a
        // time, or all of them. Its samples, a few rows of units at a time,
        // come on top.
        const qint64 blockRows = m_heldWhole ? unitsDown * c.down : c.down;
        bytes += unitsAcross * c.across * blockRows * 128;
        bytes += unitsAcross * c.across * c.down * 64 * 3;
    }
    return bytes;
}
