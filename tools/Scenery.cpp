#include "Scenery.h"

#include "Shapes.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtMath>

using namespace Shapes;

namespace Scenery {

void mushroom(QPainter &p, const QColor &cap)
{
    QPainterPath stem(QPointF(5.5, 9));
    stem.lineTo(10.5, 9);
    stem.quadTo(11.5, 15, 11, 18);
    stem.lineTo(5, 18);
    stem.quadTo(4.5, 15, 5.5, 9);
    fillOutlined(p, stem, QColor(245, 235, 215), QColor(150, 130, 110), 0.7);
    QPainterPath top(QPointF(0, 10));
    top.cubicTo(0, -2, 16, -2, 16, 10);
    top.quadTo(8, 8, 0, 10);
    fillOutlined(p, top, cap, cap.darker(150), 0.8);
    if (cap.red() > 180 && cap.green() < 90) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (QPointF dot : { QPointF(4, 5), QPointF(9, 3), QPointF(12, 6.5), QPointF(7, 7) })
            p.drawEllipse(dot, 1.1, 1);
    }
}

void leafyTree(
    QPainter &p, QRandomGenerator &random, double height, const QList<QColor> &leaves, bool birch)
{
    const double trunkTop = -height * 0.72;
    const double base = birch ? height * 0.035 : height * 0.06;
    QPainterPath trunk(QPointF(-base, 0));
    trunk.lineTo(-base * 0.45, trunkTop);
    trunk.lineTo(base * 0.45, trunkTop);
    trunk.lineTo(base, 0);
    trunk.closeSubpath();
    const QColor bark = birch ? QColor(245, 242, 232) : QColor(95, 62, 38);
    p.setPen(QPen(bark.darker(170), height * 0.006 + 0.4));
    p.setBrush(bark);
    p.drawPath(trunk);
    // Branches reach into the crown.
    p.setPen(QPen(bark.darker(birch ? 120 : 100), base * 0.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double y = -height * (0.42 + 0.08 * i);
        const double side = (i % 2 == 0) ? 1 : -1;
        p.drawLine(QPointF(0, y), QPointF(side * height * 0.18, y - height * 0.13));
    }
    if (birch) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 35, 35));
        for (double y = -height * 0.05; y > trunkTop; y -= height * 0.07) {
            const double w = base * (0.6 + random.bounded(0.8));
            const double x = (random.bounded(2) ? -1 : 1) * base * 0.3;
            p.drawRect(QRectF(x - w / 2, y, w, height * 0.012 + 0.5));
        }
    }
    const QPointF crown(0, -height * 0.66);
    const double radius = height * (birch ? 0.27 : 0.34);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 140; ++i) {
        const double a = random.bounded(2 * M_PI);
        const double r = radius * std::sqrt(random.bounded(1.0));
        const QPointF at
            = crown + QPointF(r * std::cos(a) * (birch ? 0.8 : 1.0), r * std::sin(a) * 0.95);
        QColor c = leaves.at(random.bounded(int(leaves.size())));
        // Leaves low in the crown lie in its shade.
        c = c.darker(100 + int(22 * (at.y() - crown.y() + radius) / (2 * radius)));
        p.setBrush(c);
        p.drawEllipse(at, radius * 0.2, radius * 0.17);
    }
}

void firTree(QPainter &p, double height, const QColor &green)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 40));
    p.drawRect(QRectF(-height * 0.04, -height * 0.15, height * 0.08, height * 0.15));
    for (int i = 0; i < 4; ++i) {
        const double bottom = -height * (0.12 + 0.2 * i);
        const double w = height * (0.3 - 0.06 * i);
        QPainterPath tier(QPointF(-w, bottom));
        tier.lineTo(0, bottom - height * 0.36);
        tier.lineTo(w, bottom);
        tier.closeSubpath();
        p.setBrush(green.darker(100 + 10 * (3 - i)));
        p.drawPath(tier);
    }
}

void fence(QPainter &p, const QRectF &area, double postStep)
{
    const QColor wood(170, 120, 70);
    const QColor line(95, 62, 35);
    const double postWidth = postStep * 0.32;
    p.setPen(QPen(line, 0.8));
    p.setBrush(wood.lighter(105));
    for (double t : { 0.3, 0.68 }) {
        const double y = area.top() + area.height() * t;
        p.drawRect(QRectF(area.left(), y, area.width(), area.height() * 0.13));
    }
    p.setBrush(wood);
    for (double x = area.left() + postStep * 0.3; x < area.right(); x += postStep) {
        QPainterPath post(QPointF(x, area.bottom()));
        post.lineTo(x, area.top() + postWidth * 0.7);
        post.lineTo(x + postWidth / 2, area.top());
        post.lineTo(x + postWidth, area.top() + postWidth * 0.7);
        post.lineTo(x + postWidth, area.bottom());
        post.closeSubpath();
        p.drawPath(post);
    }
}

void leaf(QPainter &p, const QPointF &at, double size, double angle, const QColor &colour)
{
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath blade(QPointF(-size, 0));
    blade.quadTo(0, -size * 0.7, size, 0);
    blade.quadTo(0, size * 0.7, -size, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(blade);
    p.setPen(QPen(colour.darker(140), size * 0.12));
    p.drawLine(QPointF(-size * 1.2, 0), QPointF(size * 0.8, 0));
    p.restore();
}

void sun(QPainter &p, const QPointF &centre, double radius, const QColor &colour)
{
    p.setPen(QPen(colour, radius * 0.16, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(centre + dir * radius * 1.3, centre + dir * radius * 1.7);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void cloud(QPainter &p, const QPointF &centre, double width, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const double u = width / 10;
    p.drawEllipse(centre + QPointF(-2.5 * u, 0.5 * u), 2.6 * u, 1.8 * u);
    p.drawEllipse(centre + QPointF(0, -0.6 * u), 3 * u, 2.4 * u);
    p.drawEllipse(centre + QPointF(2.6 * u, 0.4 * u), 2.4 * u, 1.9 * u);
    p.drawRoundedRect(QRectF(centre.x() - 4.6 * u, centre.y(), 9.2 * u, 2.2 * u), u, u);
}

} // namespace Scenery
