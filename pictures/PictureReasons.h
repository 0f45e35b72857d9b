#pragma once

#include <QString>

// Why a picture cannot be shown, as the refusal says it after the file's
// name, for the reasons the BMP and JPEG readers share.
namespace PictureReasons {

inline QString cutShort()
{
    return QStringLiteral("файл обрезан");
}

inline QString damaged()
{
    return QStringLiteral("данные картинки повреждены");
}

// kind as "BMP со сжатием JPEG"
inline QString unsupported(const QString &kind)
{
    return QStringLiteral("программа не показывает ") + kind;
}

} // namespace PictureReasons
