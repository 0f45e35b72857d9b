#pragma once

#include <QByteArrayView>
#include <QPoint>

#include <optional>

// The hot spot of the first image of a cursor file, which its directory
// keeps where an icon's keeps planes and bit count. None when the bytes do
// not start as a cursor file or the spot lies outside the image.
std::optional<QPoint> cursorHotSpot(QByteArrayView bytes);
