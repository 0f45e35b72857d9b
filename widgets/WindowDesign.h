#pragma once

#include <QColor>
#include <QFont>
#include <QSize>

class QWidget;

// Designs are given in twips: 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int value)
{
    return value / 15;
}

// The designs' face: a plain sans-serif with Cyrillic, at the given size.
QFont designFont(double points);

// The flags of the designs' fixed windows: a title bar with a close box only.
constexpr Qt::WindowFlags fixedWindow(Qt::WindowType kind)
{
    return kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
        | Qt::MSWindowsFixedSizeDialogHint;
}

// A window as its design names it, with its caption and a client area of a
// size that never changes.
void setDesign(QWidget &window, const QString &name, const QString &caption, QSize clientSize);

// A background of the design's own colour.
void fillBackground(QWidget &widget, const QColor &colour);

// The program's hand cursor, or Qt's pointing hand when the asset is missing.
class QCursor;
QCursor handCursor();

// The program's icon: an open book, 32 x 32 and 16 x 16.
class QIcon;
QIcon programIcon();
