#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QPoint>

#include <optional>

// Designs are given in twips: 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

// The designs' face: a plain sans-serif with Cyrillic, at the given size.
QFont designFont(double points);

namespace EditorDesign {
inline constexpr int ClientWidth = 663;
inline constexpr int ClientHeight = 554;
inline constexpr int ClientLeft = 23;
inline constexpr int ClientTop = 144;
} // namespace EditorDesign

// The program's hand cursor, or Qt's pointing hand when the asset is missing.
class QCursor;
QCursor handCursor();

// The hot spot of the first image of a cursor file, which its directory
// keeps where an icon's keeps planes and bit count. None when the bytes do
// not start as a cursor file or the spot lies outside the image.
std::optional<QPoint> cursorHotSpot(QByteArrayView bytes);

// The program's icon: an open book, 32 x 32 and 16 x 16.
class QIcon;
QIcon programIcon();
