#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWidget;

// Where a box's frame of the given size opens so as to leave the first place
// it can uncovered: below it, to its right, to its left or above it, inside
// the screen; nullopt when no place leaves room.
std::optional<QPoint> besideInView(
    QSize frame, const QList<QRect> &keepInView, const QRect &screen);

// Moves a box that is being shown beside the places it keeps in view, its
// frame taken to be as wide as its parent window's; nothing without room.
void placeBeside(QWidget &box, const QList<QRect> &keepInView);
