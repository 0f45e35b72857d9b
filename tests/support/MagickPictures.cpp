#include "support/MagickPictures.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>

namespace {

quint32 get(const QByteArray &bmp, int at)
{
    return at + 4 <= bmp.size() ? qFromLittleEndian<quint32>(bmp.constData() + at) : 0;
}

void set(QByteArray &bmp, int at, quint32 value)
{
    qToLittleEndian(value, bmp.data() + at);
}

// The 4-bit rows as RLE4: each row's first two points as a run, the rest
// given one by one, at most 254 and, in the table's widths, at least 3.
QByteArray rle4(const QByteArray &bmp)
{
    const int width = int(get(bmp, 18)), height = int(get(bmp, 22)), at = int(get(bmp, 10));
    const int stride = (width * 4 + 31) / 32 * 4;
    QByteArray data;
    for (int y = 0; y < height; ++y) {
        const QByteArray row = bmp.mid(at + y * stride, stride);
        data += QByteArray(1, 2) + row[0];
        for (int x = 2; x < width; x += 254) {
            const int count = std::min(254, width - x);
            const QByteArray given = row.mid(x / 2, (count + 1) / 2);
            data += QByteArray(1, 0) + char(count) + given + QByteArray(given.size() % 2, 0);
        }
        data += QByteArray(2, 0);
    }
    data += QByteArray("\0\1", 2);
    QByteArray out = bmp.left(at) + data;
    set(out, 30, 2);
    set(out, 34, quint32(data.size()));
    return out;
}

QByteArray changed(QByteArray bytes, const MagickPicture &picture)
{
    using P = MagickPicture;
    const quint32 at = get(bytes, 10), info = get(bytes, 14);
    if (picture.change == P::Header || picture.change == P::NoMasks) {
        const int length = picture.change == P::NoMasks ? 40 : picture.value;
        // A 40-byte header keeps the three bit masks after it.
        const int kept = picture.change == P::Header && length == 40 ? 52 : length;
        bytes = bytes.left(14) + bytes.mid(14, std::min<int>(kept, info)).leftJustified(kept, '\0')
            + bytes.mid(14 + info);
        set(bytes, 14, quint32(length));
        set(bytes, 10, at - info + kept);
        if (picture.change == P::NoMasks)
            set(bytes, 30, 0);
    } else if (picture.change == P::TopDown) {
        set(bytes, 22, -get(bytes, 22)); // the same rows, read the other way
    } else if (picture.change == P::ShortPalette) {
        const int cut = 4 * (int(get(bytes, 46)) - picture.value);
        bytes.remove(14 + info + 4 * picture.value, cut);
        set(bytes, 46, quint32(picture.value));
        set(bytes, 10, at - cut);
    } else if (picture.change == P::Offset) {
        set(bytes, 10, quint32(picture.value));
    } else if (picture.change == P::Rle4) {
        bytes = rle4(bytes);
    } else if (picture.change == P::Claim) {
        set(bytes, 18, quint32(picture.value));
        set(bytes, 22, quint32(picture.value));
    } else if (picture.change == P::Exif32) {
        // The entry as exiftool writes it: the tag, SHORT, one value.
        const qsizetype big = bytes.indexOf(QByteArrayView("\x01\x12\0\3\0\0\0\1", 8));
        const qsizetype little = bytes.indexOf(QByteArrayView("\x12\x01\3\0\1\0\0\0", 8));
        if (big >= 0)
            bytes[big + 3] = 4, qToBigEndian(quint32(picture.value), bytes.data() + big + 8);
        else if (little >= 0)
            bytes[little + 2] = 9; // its value's bytes read the same in 32 bits
        return big >= 0 || little >= 0 ? bytes : QByteArray();
    } else {
        return bytes;
    }
    set(bytes, 2, quint32(bytes.size()));
    return bytes;
}

} // namespace

QList<MagickPicture> magickPictures()
{
    using P = MagickPicture;
    const QString rgb565 = "BMP -type TrueColor -define bmp:subtype=RGB565";
    const QString alpha = "BMP -alpha set -channel A -fx 0.2+0.8*i/w +channel";
    QList<P> list {
        { "1 bit, navy and cream",
            "BMP3 -monochrome -fill #000080 -opaque black -fill #FFF8DC -opaque white -type "
            "Palette -compress None" },
        { "4 bit, RLE4", "BMP3 -type Palette -compress None -colors 16", P::Rle4 },
        { "4 bit, 5 colours", "BMP3 -type Palette -compress None -colors 5", P::ShortPalette, 5 },
        { "8 bit, OS/2 12-byte header", "BMP2 -type Palette" },
        { "8 bit, pixel offset 20", "BMP3 -type Palette -compress None", P::Offset, 20 },
        { "8 bit, RLE8, OS/2 64-byte header", "BMP3 -type Palette -compress RLE", P::Header, 64 },
        { "16 bit, 5-6-5 masks, 52-byte header", rgb565, P::Header, 52 },
        { "16 bit, 5-6-5 masks after a 40-byte header", rgb565, P::Header, 40 },
        { "16 bit, 5-5-5 without masks", "BMP -type TrueColor -define bmp:subtype=RGB555",
            P::NoMasks },
        { "24 bit, version 4 header", "BMP -type TrueColor", P::Header, 108 },
        { "24 bit, top row first", "BMP3 -type TrueColor", P::TopDown },
        { "24 bit, pixel offset 0", "BMP3 -type TrueColor", P::Offset, 0 },
        { "32 bit, alpha mask, version 5 header", alpha },
        { "32 bit, alpha mask, 56-byte header", alpha, P::Header, 56 },
        { "32 bit, without masks", "BMP -alpha set", P::NoMasks },
    };
    for (int orientation = 1; orientation <= 8; ++orientation)
        list.append({ QStringLiteral("JPEG, EXIF orientation %1").arg(orientation), "JPG", P::Exif,
            orientation });
    return list
        + QList<P> { { "JPEG, EXIF orientation 6 as a LONG", "JPG", P::Exif32, 6 },
              { "JPEG, EXIF orientation 5 as an SLONG", "JPG", P::Exif32, 5 } };
}

namespace {

// Under Wine no ImageMagick runs: the Linux build of the test keeps what
// ImageMagick wrote and read in TROPINETS_MAGICK_KEEP, and the Windows build
// takes it from TROPINETS_MAGICK_MADE.
QImage keptPicture(const QString &path, QImage reading)
{
    const QString keep = qEnvironmentVariable("TROPINETS_MAGICK_KEEP");
    const QString name = QFileInfo(path).fileName();
    if (!keep.isEmpty() && !reading.isNull()
        && !(QFile::copy(path, keep + u'/' + name) && reading.save(keep + u'/' + name + ".ppm")))
        return QImage();
    return reading;
}

} // namespace

bool magickMade()
{
    return qEnvironmentVariableIsSet("TROPINETS_MAGICK_MADE");
}

QImage makePicture(const MagickPicture &picture, const QString &path, QSize reading)
{
    if (magickMade()) {
        const QString made
            = qEnvironmentVariable("TROPINETS_MAGICK_MADE") + u'/' + QFileInfo(path).fileName();
        return QFile::copy(made, path) ? QImage(made + ".ppm", "ppm") : QImage();
    }
    const QString written = path + QStringLiteral(".magick");
    QStringList options = picture.magick.split(u' ');
    const QString format = options.takeFirst();
    const auto size
        = [](QSize s) { return QStringLiteral("%1x%2!").arg(s.width()).arg(s.height()); };
    QFile in(written), out(path);
    if (QProcess::execute(QStringLiteral("convert"),
            QStringList { "logo:", "-resize", size(picture.size) } + options
                + QStringList { format + ':' + written })
            != 0
        || (picture.change >= MagickPicture::Exif
            && QProcess::execute(QStringLiteral("exiftool"),
                   { "-q", "-n", "-overwrite_original",
                       QStringLiteral("-ExifByteOrder=") + (picture.value % 2 ? "II" : "MM"),
                       QStringLiteral("-Orientation=%1").arg(picture.value), written })
                != 0)
        || !in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return QImage();
    const QByteArray bytes = changed(in.readAll(), picture);
    if (out.write(bytes) != bytes.size()
        || QProcess::execute(QStringLiteral("convert"),
               { written, picture.change == MagickPicture::TopDown ? "-flip" : "-auto-orient",
                   "-resize", size(reading), "-background", "white", "-alpha", "remove", "-depth",
                   "8", "PPM:" + path + ".ppm" })
            != 0)
        return QImage();
    return keptPicture(path, QImage(path + QStringLiteral(".ppm"), "ppm"));
}
