#pragma once

#include <QColor>
#include <QPointF>

class QPainter;

// The animals and children of the pictures. Each draws in its own units
// from the painter's origin at the top left of its box, so callers place and
// size it with translate and scale.
namespace Figures {

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
// A child about 30 x 70 units, feet on y = 70, right hand raised at (27, 15).
void child(QPainter &p, const QColor &clothes, const QColor &hair);
// A balloon on a string whose end is at the origin.
void balloon(QPainter &p, const QPointF &top, const QColor &colour);
// A duck swimming, facing left, about 30 x 20 units, waterline at y = 20.
void duck(QPainter &p);

} // namespace Figures
