#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>

// Small shapes the drawings of the generator share.
namespace Shapes {

inline const QColor Ink(35, 30, 30);

QPainterPath ellipse(QPointF centre, double rx, double ry);
QPainterPath rotatedEllipse(QPointF centre, double rx, double ry, double degrees);
// A leg or trunk: a trapezoid from its top to its foot.
QPainterPath leg(QPointF top, QPointF foot, double topWidth, double footWidth);
void fillOutlined(
    QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &line, double width);
void eye(QPainter &p, QPointF at, double size);
void closedEye(QPainter &p, QPointF at, double size);

// Draws one figure at a place and size, each in its own units.
template <typename Draw>
void place(QPainter &p, double x, double y, double scale, Draw draw, bool mirrored = false)
{
    p.save();
    p.translate(x, y);
    p.scale(mirrored ? -scale : scale, scale);
    draw();
    p.restore();
}

} // namespace Shapes
