#include "FuzzCheck.h"

#include "pictures/PictureLoader.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdint>

// A picture file as a frame loads it. Whatever its bytes, it comes back in
// full colour and no larger than the kept size, or is refused with a reason
// in Russian that names the file.

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("картинка"));
    FUZZ_CHECK(
        writeFile(path, QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size))));

    const LoadedPicture picture = PictureLoader::load(path);
    if (picture.ok()) {
        const QImage &image = picture.image;
        FUZZ_CHECK(!image.isNull());
        FUZZ_CHECK(image.width() <= PictureLoader::KeptSize.width());
        FUZZ_CHECK(image.height() <= PictureLoader::KeptSize.height());
        FUZZ_CHECK(image.format() == QImage::Format_RGB32
            || image.format() == QImage::Format_ARGB32_Premultiplied);
    } else {
        FUZZ_CHECK(picture.image.isNull());
        FUZZ_CHECK(picture.error.contains(path));
        FUZZ_CHECK(picture.error.endsWith(QLatin1Char('.')));
        // Names of formats are capitals; an English sentence would not be.
        static const QRegularExpression english(QStringLiteral("[a-z]"));
        FUZZ_CHECK(!QString(picture.error).remove(path).contains(english));
    }
    return 0;
}
