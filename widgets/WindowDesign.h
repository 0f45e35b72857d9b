#pragma once

#include <QColor>
#include <QFont>

// Designs are given in twips: 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

// The designs' face: a plain sans-serif with Cyrillic, at the given size.
QFont designFont(double points);

// The program's hand cursor, or Qt's pointing hand when the asset is missing.
class QCursor;
QCursor handCursor();

// The program's icon: an open book, 32 x 32 and 16 x 16.
class QIcon;
QIcon programIcon();
