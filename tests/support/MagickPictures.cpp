#include "support/MagickPictures.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace {

bool run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

quint32 get(const QByteArray &bmp, int at)
{
    return at + 4 <= bmp.size() ? qFromLittleEndian<quint32>(bmp.constData() + at) : 0;
}

void set(QByteArray &bmp, int at, quint32 value)
{
    qToLittleEndian(value, bmp.data() + at);
}

// The 4-bit rows as RLE4: runs of one colour as counts, the rest given one
// by one, as paint programs write it.
QByteArray rle4(const QByteArray &bmp)
{
    const int width = int(get(bmp, 18)), height = int(get(bmp, 22)), at = int(get(bmp, 10));
    const int stride = (width * 4 + 31) / 32 * 4;
    QByteArray data;
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const uchar *>(bmp.constData()) + at + y * stride;
        const auto nibble = [&](int x) { return x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4; };
        const auto runAt = [&](int x) {
            int run = 1;
            while (x + run < width && run < 255 && nibble(x + run) == nibble(x))
                ++run;
            return run;
        };
        for (int x = 0; x < width;) {
            if (runAt(x) >= 3 || width - x < 3) {
                data += char(runAt(x)) + QByteArray(1, char(nibble(x) * 17));
                x += runAt(x);
                continue;
            }
            int count = 3;
            while (x + count < width && count < 254 && runAt(x + count) < 3)
                ++count;
            QByteArray given((count + 1) / 2 + (count + 1) / 2 % 2, '\0');
            for (int i = 0; i < count; ++i)
                given[i / 2] = char(given[i / 2] | nibble(x + i) << (i % 2 ? 0 : 4));
            data += QByteArray(1, '\0') + char(count) + given;
            x += count;
        }
        data += QByteArray(2, '\0');
    }
    data += QByteArray("\0\1", 2);
    QByteArray out = bmp.left(at) + data;
    set(out, 30, 2);
    set(out, 34, quint32(data.size()));
    return out;
}

QByteArray changed(QByteArray bmp, const MagickPicture &picture)
{
    const quint32 at = get(bmp, 10), info = get(bmp, 14);
    switch (picture.change) {
    case MagickPicture::Header:
    case MagickPicture::NoMasks: {
        const int length = picture.change == MagickPicture::NoMasks ? 40 : picture.value;
        // A 40-byte header has three masks after it.
        const int kept
            = picture.change == MagickPicture::Header && length == 40 && get(bmp, 30) == 3 ? 52
                                                                                           : length;
        const QByteArray header = bmp.mid(14, std::min<int>(kept, info)).leftJustified(kept, '\0');
        bmp = bmp.left(14) + header + bmp.mid(14 + info);
        set(bmp, 14, quint32(length));
        set(bmp, 10, at - info + kept);
        if (picture.change == MagickPicture::NoMasks)
            set(bmp, 30, 0);
        break;
    }
    case MagickPicture::TopDown: {
        const qint32 height = qint32(get(bmp, 22));
        const int stride = (bmp.size() - at) / height;
        QByteArray flipped = bmp.left(at);
        for (int row = height - 1; row >= 0; --row)
            flipped += bmp.mid(at + row * stride, stride);
        bmp = flipped;
        set(bmp, 22, quint32(-height));
        break;
    }
    case MagickPicture::ShortPalette: {
        const int cut = 4 * (int(get(bmp, 46)) - picture.value);
        bmp.remove(14 + info + 4 * picture.value, cut);
        set(bmp, 46, quint32(picture.value));
        set(bmp, 10, at - cut);
        break;
    }
    case MagickPicture::PixelsAt:
        set(bmp, 10, quint32(picture.value));
        break;
    case MagickPicture::Rle4:
        bmp = rle4(bmp);
        break;
    case MagickPicture::Claim:
        set(bmp, 18, quint32(picture.value));
        set(bmp, 22, quint32(picture.value));
        break;
    default:
        break;
    }
    set(bmp, 2, quint32(bmp.size()));
    return bmp;
}

} // namespace

QList<MagickPicture> magickPictures()
{
    using P = MagickPicture;
    const QStringList palette { "-type", "Palette", "-compress", "None" };
    const QStringList colours16 = palette + QStringList { "-colors", "16" };
    const QStringList trueColour { "-type", "TrueColor" };
    const QStringList mono { "-monochrome" };
    const QStringList alpha { "-alpha", "set", "-channel", "A", "-fx", "0.2+0.8*i/w", "+channel" };
    const QStringList opaque { "-alpha", "set" };
    const QStringList rgb565 { "-type", "TrueColor", "-define", "bmp:subtype=RGB565" };
    QList<P> list {
        { "24 bit, 40-byte header", trueColour, "BMP3" },
        { "24 bit, small, kept whole", trueColour, "BMP3", P::AsWritten, 0, QSize(200, 150) },
        { "24 bit, OS/2 12-byte header", trueColour, "BMP2" },
        { "24 bit, OS/2 64-byte header", trueColour, "BMP3", P::Header, 64 },
        { "24 bit, version 4 header", trueColour, "BMP", P::Header, 108 },
        { "24 bit, version 5 header", trueColour, "BMP" },
        { "24 bit, top row first", trueColour, "BMP3", P::TopDown },
        { "24 bit, pixel offset 0", trueColour, "BMP3", P::PixelsAt, 0 },
        { "8 bit", palette, "BMP3" },
        { "8 bit, pixel offset 20", palette, "BMP3", P::PixelsAt, 20 },
        { "8 bit, 20 colours", palette + QStringList { "-colors", "20" }, "BMP3", P::ShortPalette,
            20 },
        { "8 bit, top row first", palette, "BMP3", P::TopDown },
        { "8 bit, OS/2 12-byte header", { "-type", "Palette" }, "BMP2" },
        { "8 bit, RLE8", { "-type", "Palette", "-compress", "RLE" }, "BMP3" },
        { "8 bit, RLE8, OS/2 64-byte header", { "-type", "Palette", "-compress", "RLE" }, "BMP3",
            P::Header, 64 },
        { "4 bit", colours16, "BMP3" },
        { "4 bit, RLE4", colours16, "BMP3", P::Rle4 },
        { "4 bit, 5 colours", palette + QStringList { "-colors", "5" }, "BMP3", P::ShortPalette,
            5 },
        { "4 bit, OS/2 12-byte header", { "-type", "Palette", "-colors", "16" }, "BMP2" },
        { "1 bit", mono, "BMP3" },
        { "1 bit, navy and cream",
            mono
                + QStringList { "-fill", "#000080", "-opaque", "black", "-fill", "#FFF8DC",
                    "-opaque", "white" }
                + palette,
            "BMP3" },
        { "1 bit, top row first", mono, "BMP3", P::TopDown },
        { "1 bit, OS/2 12-byte header", mono, "BMP2" },
        { "16 bit, 5-6-5 masks, version 5 header", rgb565, "BMP" },
        { "16 bit, 5-6-5 masks, 52-byte header", rgb565, "BMP", P::Header, 52 },
        { "16 bit, 5-6-5 masks after a 40-byte header", rgb565, "BMP", P::Header, 40 },
        { "16 bit, 5-5-5 without masks",
            trueColour + QStringList { "-define", "bmp:subtype=RGB555" }, "BMP", P::NoMasks },
        { .name = "16 bit, 1-5-5-5 with alpha",
            .arguments = opaque + QStringList { "-define", "bmp:subtype=ARGB1555" },
            .format = "BMP",
            .opaque = true },
        { "32 bit, alpha mask, version 5 header", alpha, "BMP" },
        { "32 bit, alpha mask, 56-byte header", alpha, "BMP", P::Header, 56 },
        { "32 bit, without masks", opaque, "BMP", P::NoMasks },
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        list.append({ QStringLiteral("JPEG, EXIF orientation %1").arg(orientation), {}, "JPG",
            P::Orientation, orientation });
    }
    return list;
}

bool magickInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("exiftool")).isEmpty();
}

bool makePicture(const MagickPicture &picture, const QString &written, const QString &path)
{
    const QString size
        = QStringLiteral("%1x%2!").arg(picture.size.width()).arg(picture.size.height());
    if (!run(QStringLiteral("convert"),
            QStringList { "logo:", "-resize", size } + picture.arguments
                + QStringList { picture.format + ':' + written }))
        return false;
    if (picture.change == MagickPicture::Orientation) {
        return run(QStringLiteral("exiftool"),
                   { "-q", "-n", "-overwrite_original",
                       QStringLiteral("-Orientation=%1").arg(picture.value), written })
            && QFile::copy(written, path);
    }
    QFile in(written), out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bmp = changed(in.readAll(), picture);
    return out.write(bmp) == bmp.size();
}

QImage magickReading(const MagickPicture &picture, const QString &path, QSize size)
{
    const QString reading = path + QStringLiteral(".ppm");
    if (!run(QStringLiteral("convert"),
            { path, "-auto-orient", "-resize",
                QStringLiteral("%1x%2!").arg(size.width()).arg(size.height()), "-background",
                "white", "-alpha", picture.opaque ? "off" : "remove", "-depth", "8",
                "PPM:" + reading }))
        return QImage();
    return QImage(reading, "ppm");
}
