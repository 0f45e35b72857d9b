#pragma once

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPainter;
class QRandomGenerator;

// The figures the pictures are made of. Each draws in its own units around
// the painter's origin, so callers place and size it with translate/scale.
namespace Motifs {

// A zebra facing left, about 100 x 70 units, hooves on y = 70.
void zebra(QPainter &p);
// A zebra lying asleep, about 110 x 45 units, resting on y = 45.
void sleepingZebra(QPainter &p);
// A fox facing right, about 110 x 60 units, paws on y = 60.
void fox(QPainter &p);
// A fox curled up asleep, about 70 x 40 units, resting on y = 40.
void sleepingFox(QPainter &p);
// A hedgehog facing right carrying an apple, about 60 x 40 units, on y = 40.
void hedgehog(QPainter &p, bool apple);
// A beaver sitting up facing left, about 50 x 60 units, on y = 60.
void beaver(QPainter &p);
// A giraffe facing right, about 80 x 160 units, hooves on y = 160.
void giraffe(QPainter &p);
// A child about 30 x 70 units, feet on y = 70, hand raised at (22, 28).
void child(QPainter &p, const QColor &clothes, const QColor &hair);
// A balloon on a string whose end is at the origin.
void balloon(QPainter &p, const QPointF &top, const QColor &colour);
// A duck swimming, facing left, about 30 x 20 units, waterline at y = 20.
void duck(QPainter &p);
// A mushroom, cap colour given, about 16 x 18 units, standing on y = 18.
void mushroom(QPainter &p, const QColor &cap);

// A tree with a round crown of leaves in the given colours, trunk foot at the
// origin; height in units.
void leafyTree(QPainter &p, QRandomGenerator &random, double height,
               const QList<QColor> &leaves, bool birch);
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

} // namespace Motifs
