#pragma once

#include <QImage>
#include <QStringList>

// The title picture: an autumn landscape laid as a mosaic, the heading in
// brown capitals across the top, and a framed zebra behind a fence.
namespace TitlePicture {

inline constexpr int Width = 472;
inline constexpr int Height = 338;

QStringList heading();
QImage draw();

// Lays a picture as small tiles with grout between them.
QImage mosaic(const QImage &scene, int tileSize, quint32 seed);

} // namespace TitlePicture
