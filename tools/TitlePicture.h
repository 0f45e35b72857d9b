#pragma once

#include <QImage>

// The title picture: an autumn landscape laid as a mosaic, the heading in
// brown capitals across the top, and a framed zebra behind a fence.
namespace TitlePicture {

inline constexpr int Width = 472;
inline constexpr int Height = 338;

QImage draw();

} // namespace TitlePicture
