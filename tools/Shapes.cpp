#include "Shapes.h"

#include <QPainter>

namespace Shapes {

QPainterPath ellipse(QPointF centre, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

QPainterPath rotatedEllipse(QPointF centre, double rx, double ry, double degrees)
{
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    turn.rotate(degrees);
    return turn.map(ellipse(QPointF(0, 0), rx, ry));
}

QPainterPath leg(QPointF top, QPointF foot, double topWidth, double footWidth)
{
    QPainterPath path(top - QPointF(topWidth / 2, 0));
    path.lineTo(top + QPointF(topWidth / 2, 0));
    path.lineTo(foot + QPointF(footWidth / 2, 0));
    path.lineTo(foot - QPointF(footWidth / 2, 0));
    path.closeSubpath();
    return path;
}

void fillOutlined(
    QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &line, double width)
{
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

void closedEye(QPainter &p, QPointF at, double size)
{
    p.setPen(QPen(Ink, size * 0.35, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at.x() - size, at.y() - size, 2 * size, 2 * size), 200 * 16, 140 * 16);
}

void eye(QPainter &p, QPointF at, double size)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(at, size, size * 1.15);
    p.setBrush(Qt::white);
    p.drawEllipse(at + QPointF(size * 0.35, -size * 0.4), size * 0.35, size * 0.35);
}

} // namespace Shapes
