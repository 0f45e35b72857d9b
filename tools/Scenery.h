#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPainter;
class QRandomGenerator;

// Trees, fences, leaves and the sky of the pictures.
namespace Scenery {

// A mushroom, cap colour given, about 16 x 18 units, standing on y = 18.
void mushroom(QPainter &p, const QColor &cap);

// A tree with a round crown of leaves in the given colours, trunk foot at the
// origin; height in units.
void leafyTree(
    QPainter &p, QRandomGenerator &random, double height, const QList<QColor> &leaves, bool birch);
// A fir tree, foot at the origin.
void firTree(QPainter &p, double height, const QColor &green);
// A wooden fence across the rectangle: posts and two rails.
void fence(QPainter &p, const QRectF &area, double postStep);
// A falling leaf.
void leaf(QPainter &p, const QPointF &at, double size, double angle, const QColor &colour);
// A sun with rays.
void sun(QPainter &p, const QPointF &centre, double radius, const QColor &colour);
// A soft cloud.
void cloud(QPainter &p, const QPointF &centre, double width, const QColor &colour);

} // namespace Scenery
