#include "Figures.h"

#include "Shapes.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtMath>

#include <cmath>

using namespace Shapes;

namespace Figures {

namespace {

// Zebra stripes: bands across the body, rings round the legs and neck.
void zebraStripes(
    QPainter &p, const QPainterPath &silhouette, const QList<QLineF> &bands, double width)
{
    p.save();
    p.setClipPath(silhouette, Qt::IntersectClip);
    p.setPen(QPen(Ink, width, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF &band : bands)
        p.drawLine(band);
    p.restore();
}

} // namespace

void zebra(QPainter &p)
{
    const QPainterPath body = ellipse(QPointF(58, 34), 26, 13);
    QPainterPath neck(QPointF(46, 25));
    neck.lineTo(27, 5);
    neck.lineTo(15, 13);
    neck.lineTo(37, 44);
    neck.closeSubpath();
    const QPainterPath head = rotatedEllipse(QPointF(16, 16), 14, 6.5, 125);
    QPainterPath legs;
    for (double x : { 39.0, 47.0, 71.0, 79.0 })
        legs.addPath(leg(QPointF(x, 38), QPointF(x - 1, 67), 7, 4.2));
    const QPainterPath silhouette = body.united(neck).united(head).united(legs);

    QPainterPath tail(QPointF(83, 29));
    tail.quadTo(91, 36, 89, 50);
    p.setPen(QPen(Ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tail);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawPath(rotatedEllipse(QPointF(89, 52), 2.2, 5, 10));

    // Ears behind the head.
    fillOutlined(p, rotatedEllipse(QPointF(26, 3), 2.2, 5, 25), QColor(250, 250, 245), Ink, 1);
    fillOutlined(p, rotatedEllipse(QPointF(30, 4.5), 2.2, 5, 45), QColor(250, 250, 245), Ink, 1);

    fillOutlined(p, silhouette, QColor(250, 250, 245), Ink, 1.2);

    QList<QLineF> bands;
    for (int i = 0; i < 9; ++i) {
        const double x = 35 + i * 5.6;
        bands.append(QLineF(x + 3, 18, x - 2, 50));
    }
    for (double y = 47; y < 66; y += 4.2)
        bands.append(QLineF(30, y, 90, y + 1));
    // Across the neck: perpendicular to its line from withers to poll.
    const QPointF from(42, 34), to(22, 8);
    const QPointF across(26 / 31.6, -20 / 31.6);
    for (double t = 0.05; t < 0.95; t += 0.13) {
        const QPointF c = from + t * (to - from);
        bands.append(QLineF(c - 14 * across, c + 14 * across));
    }
    zebraStripes(p, body.united(neck).united(legs), bands, 2.6);

    QList<QLineF> headBands;
    for (double t = 0.08; t < 0.62; t += 0.15) {
        const QPointF c = QPointF(25, 5) + t * QPointF(-17, 22);
        headBands.append(QLineF(c - QPointF(8, 6), c + QPointF(8, 6)));
    }
    zebraStripes(p, head, headBands, 1.3);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 55, 55));
    p.drawPath(rotatedEllipse(QPointF(7.5, 25.5), 4.2, 3.4, 125).intersected(head));
    // The mane stands up along the neck.
    QPainterPath mane(QPointF(28, 3));
    mane.quadTo(37, 12.5, 47, 24);
    p.setPen(QPen(Ink, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mane);
    p.setPen(QPen(QColor(250, 250, 245), 1.0, Qt::DotLine));
    p.drawPath(mane);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (double x : { 38.0, 46.0, 70.0, 78.0 })
        p.drawRect(QRectF(x - 2.2, 66, 4.4, 4));
    eye(p, QPointF(19, 12), 1.4);
}

void sleepingZebra(QPainter &p)
{
    const QPainterPath body = ellipse(QPointF(62, 29), 32, 14);
    QPainterPath neck(QPointF(42, 18));
    neck.quadTo(30, 22, 22, 30);
    neck.lineTo(30, 40);
    neck.quadTo(38, 36, 46, 38);
    neck.closeSubpath();
    const QPainterPath head
        = rotatedEllipse(QPointF(16, 37), 14, 6.5, 172).united(ellipse(QPointF(25, 35.5), 7, 6.5));
    QPainterPath legs;
    legs.addPath(rotatedEllipse(QPointF(52, 42), 12, 3.5, 0));
    legs.addPath(rotatedEllipse(QPointF(84, 41), 12, 3.5, 0));
    const QPainterPath silhouette = body.united(neck).united(head).united(legs);
    fillOutlined(p, rotatedEllipse(QPointF(30, 28), 2, 4.5, -30), QColor(250, 250, 245), Ink, 1);
    fillOutlined(p, rotatedEllipse(QPointF(33, 29), 2, 4.5, -10), QColor(250, 250, 245), Ink, 1);
    fillOutlined(p, silhouette, QColor(250, 250, 245), Ink, 1.2);
    QList<QLineF> bands;
    for (int i = 0; i < 11; ++i) {
        const double x = 34 + i * 5.6;
        bands.append(QLineF(x + 2, 12, x - 2, 46));
    }
    for (double x = 30; x < 48; x += 4.5)
        bands.append(QLineF(x, 16, x - 8, 42));
    zebraStripes(p, body.united(neck).united(legs), bands, 2.6);
    QList<QLineF> headBands;
    for (double x = 12; x < 30; x += 4.5)
        headBands.append(QLineF(x + 1, 28, x - 1, 44));
    zebraStripes(p, head, headBands, 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 55, 55));
    p.drawPath(ellipse(QPointF(3.5, 39), 4.5, 4).intersected(head));
    QPainterPath mane(QPointF(22, 29));
    mane.quadTo(32, 19, 44, 16);
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mane);
    closedEye(p, QPointF(21, 33.5), 1.8);
}

namespace {
const QColor FoxFur(232, 112, 34);
const QColor FoxLine(140, 60, 15);
const QColor Cream(252, 246, 232);
} // namespace

void fox(QPainter &p)
{
    QPainterPath tail(QPointF(33, 29));
    tail.cubicTo(18, 8, -4, 18, 3, 36);
    tail.cubicTo(9, 47, 26, 44, 35, 37);
    tail.closeSubpath();
    fillOutlined(p, tail, FoxFur, FoxLine, 1.1);
    p.save();
    p.setClipPath(tail);
    p.setPen(Qt::NoPen);
    p.setBrush(Cream);
    p.drawEllipse(QPointF(3, 31), 8, 9);
    p.restore();

    QPainterPath legs;
    for (double x : { 36.0, 44.0, 62.0, 70.0 })
        legs.addPath(leg(QPointF(x, 36), QPointF(x + 1, 59), 5.5, 3.6));
    const QPainterPath body = ellipse(QPointF(53, 33), 22, 10.5);
    QPainterPath neck(QPointF(64, 26));
    neck.lineTo(76, 14);
    neck.lineTo(86, 30);
    neck.lineTo(72, 40);
    neck.closeSubpath();
    QPainterPath head(QPointF(73, 17));
    head.lineTo(75, 2);
    head.lineTo(81, 10);
    head.lineTo(88, 2);
    head.lineTo(89, 13);
    head.quadTo(97, 19, 106, 24);
    head.quadTo(97, 31, 85, 31);
    head.quadTo(74, 28, 73, 17);
    const QPainterPath silhouette = body.united(neck).united(head).united(legs);
    fillOutlined(p, silhouette, FoxFur, FoxLine, 1.1);

    p.save();
    p.setClipPath(silhouette);
    p.setPen(Qt::NoPen);
    p.setBrush(Cream);
    p.drawEllipse(QPointF(80, 34), 8, 8);
    QPainterPath jaw(QPointF(106, 24));
    jaw.quadTo(97, 31, 85, 31);
    jaw.lineTo(86, 26);
    jaw.quadTo(96, 26, 106, 24);
    p.drawPath(jaw);
    p.setBrush(QColor(45, 35, 30));
    for (double x : { 36.0, 44.0, 62.0, 70.0 })
        p.drawRect(QRectF(x - 4, 50, 9, 10));
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 40, 25));
    QPainterPath innerEar(QPointF(76, 14));
    innerEar.lineTo(76, 6);
    innerEar.lineTo(79.5, 11);
    innerEar.closeSubpath();
    p.drawPath(innerEar);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(105.5, 24), 2, 1.8);
    eye(p, QPointF(88, 17), 1.5);
}

void sleepingFox(QPainter &p)
{
    const QPainterPath body = ellipse(QPointF(38, 26), 28, 14);
    fillOutlined(p, body, FoxFur, FoxLine, 1.1);
    QPainterPath tail(QPointF(64, 22));
    tail.cubicTo(74, 34, 56, 44, 30, 40);
    tail.cubicTo(20, 39, 14, 36, 16, 34);
    tail.cubicTo(34, 36, 56, 36, 60, 24);
    tail.closeSubpath();
    QPainterPath head(QPointF(10, 24));
    head.lineTo(12, 11);
    head.lineTo(18, 17);
    head.lineTo(24, 10);
    head.lineTo(27, 20);
    head.quadTo(30, 32, 18, 34);
    head.quadTo(6, 34, 2, 31);
    head.quadTo(4, 27, 10, 24);
    fillOutlined(p, head, FoxFur, FoxLine, 1.1);
    fillOutlined(p, tail, FoxFur, FoxLine, 1.1);
    p.save();
    p.setClipPath(tail);
    p.setPen(Qt::NoPen);
    p.setBrush(Cream);
    p.drawEllipse(QPointF(17, 37), 8, 6);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(2.5, 31), 1.8, 1.6);
    closedEye(p, QPointF(14, 26), 2);
}

void hedgehog(QPainter &p, bool apple)
{
    QPainterPath spikes;
    const QPointF centre(26, 38);
    for (int i = 0; i <= 28; ++i) {
        const double a = qDegreesToRadians(180.0 - i * 180.0 / 28);
        const double r = (i % 2 == 0) ? 25 : 18;
        const QPointF point = centre + QPointF(r * std::cos(a), -r * 0.85 * std::sin(a));
        if (i == 0)
            spikes.moveTo(point);
        else
            spikes.lineTo(point);
    }
    spikes.closeSubpath();
    fillOutlined(p, spikes, QColor(105, 75, 50), QColor(60, 40, 25), 1);
    QPainterPath face(QPointF(38, 24));
    face.quadTo(52, 28, 60, 35);
    face.quadTo(52, 40, 40, 40);
    face.closeSubpath();
    fillOutlined(p, face, QColor(225, 190, 150), QColor(120, 85, 55), 1);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(60, 35), 2, 2);
    eye(p, QPointF(49, 31), 1.4);
    if (apple) {
        fillOutlined(
            p, ellipse(QPointF(24, 10), 7.5, 7), QColor(215, 35, 35), QColor(120, 20, 20), 1);
        p.setPen(QPen(QColor(90, 60, 30), 1.3));
        p.drawLine(QPointF(24, 4), QPointF(25, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(70, 150, 50));
        p.drawPath(rotatedEllipse(QPointF(28, 1.5), 3.5, 1.6, -20));
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(QPointF(21, 7), 2, 1.5);
    }
}

void beaver(QPainter &p)
{
    const QColor fur(135, 85, 50);
    const QColor line(75, 45, 25);
    QPainterPath tail;
    tail.addPath(rotatedEllipse(QPointF(38, 56), 13, 4.5, -8));
    fillOutlined(p, tail, QColor(80, 60, 50), line, 1);
    p.save();
    p.setClipPath(tail);
    p.setPen(QPen(QColor(55, 40, 35), 0.7));
    for (double x = 24; x < 56; x += 3) {
        p.drawLine(QPointF(x, 48), QPointF(x + 6, 64));
        p.drawLine(QPointF(x + 6, 48), QPointF(x, 64));
    }
    p.restore();
    fillOutlined(p, ellipse(QPointF(26, 40), 15, 19), fur, line, 1.1);
    fillOutlined(p, ellipse(QPointF(26, 44), 9, 12), QColor(175, 125, 80), QColor(0, 0, 0, 0), 0);
    fillOutlined(p, ellipse(QPointF(13, 4), 3, 3), fur, line, 1);
    fillOutlined(p, ellipse(QPointF(25, 5), 3, 3), fur, line, 1);
    fillOutlined(p, ellipse(QPointF(18, 15), 12, 11), fur, line, 1.1);
    fillOutlined(p, ellipse(QPointF(10, 19), 6, 4.5), QColor(185, 140, 95), line, 0.8);
    p.setPen(QPen(QColor(120, 100, 80), 0.6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 22.5, 4, 4));
    p.drawLine(QPointF(9.5, 22.5), QPointF(9.5, 26.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(6, 17), 2.2, 1.6);
    eye(p, QPointF(15, 11), 1.4);
    fillOutlined(p, ellipse(QPointF(16, 36), 3.5, 2.5), fur, line, 0.9);
    fillOutlined(p, ellipse(QPointF(19, 58), 5, 2.2), QColor(80, 60, 50), line, 0.9);
    fillOutlined(p, ellipse(QPointF(32, 58), 5, 2.2), QColor(80, 60, 50), line, 0.9);
}

void giraffe(QPainter &p)
{
    const QColor coat(242, 200, 95);
    const QColor patch(185, 105, 45);
    const QColor line(120, 70, 30);
    const QPainterPath body = ellipse(QPointF(34, 96), 26, 15);
    QPainterPath neck(QPointF(44, 88));
    neck.lineTo(62, 22);
    neck.lineTo(72, 24);
    neck.lineTo(58, 96);
    neck.closeSubpath();
    const QPainterPath head = rotatedEllipse(QPointF(72, 20), 11, 5.5, 30);
    QPainterPath legs;
    for (double x : { 16.0, 25.0, 44.0, 53.0 })
        legs.addPath(leg(QPointF(x, 100), QPointF(x, 156), 6, 3.6));
    const QPainterPath silhouette = body.united(neck).united(head).united(legs);
    p.setPen(QPen(line, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 92), QPointF(4, 118));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawPath(rotatedEllipse(QPointF(4, 120), 1.8, 4, 10));
    for (double x : { 66.0, 70.0 }) {
        p.setPen(QPen(line, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, 12), QPointF(x - 1, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 55, 25));
        p.drawEllipse(QPointF(x - 1, 4.5), 1.8, 1.8);
    }
    fillOutlined(p, silhouette, coat, line, 1.1);
    p.save();
    p.setClipPath(body.united(neck).united(legs));
    p.setPen(Qt::NoPen);
    p.setBrush(patch);
    QRandomGenerator random(7);
    for (double y = 30; y < 125; y += 9) {
        for (double x = 0; x < 80; x += 10) {
            const QPointF c(
                x + ((int(y) / 9) % 2) * 5 + random.bounded(2.0), y + random.bounded(2.0));
            p.drawPath(rotatedEllipse(c, 3.6, 3, random.bounded(180.0)));
        }
    }
    p.restore();
    fillOutlined(p, rotatedEllipse(QPointF(62, 14), 4, 2, -30), coat, line, 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 110, 60));
    p.drawEllipse(QPointF(81, 25), 3, 2.5);
    eye(p, QPointF(72, 17), 1.4);
    p.setBrush(QColor(90, 55, 25));
    for (double x : { 16.0, 25.0, 44.0, 53.0 })
        p.drawRect(QRectF(x - 2.2, 155, 4.4, 5));
}

void child(QPainter &p, const QColor &clothes, const QColor &hair)
{
    const QColor skin(250, 214, 180);
    const QColor line(110, 70, 50);
    p.setPen(QPen(skin.darker(115), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 48), QPointF(11, 66));
    p.drawLine(QPointF(19, 48), QPointF(19, 66));
    p.setPen(QPen(skin, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 26), QPointF(4, 42));
    p.drawLine(QPointF(21, 26), QPointF(27, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 50, 60));
    p.drawEllipse(QPointF(10, 68), 4, 2.2);
    p.drawEllipse(QPointF(20, 68), 4, 2.2);
    QPainterPath dress(QPointF(9, 23));
    dress.lineTo(21, 23);
    dress.lineTo(27, 50);
    dress.lineTo(3, 50);
    dress.closeSubpath();
    fillOutlined(p, dress, clothes, clothes.darker(150), 0.9);
    fillOutlined(p, ellipse(QPointF(15, 13), 8.5, 9), skin, line, 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(hair);
    QPainterPath cap;
    cap.moveTo(6.5, 13);
    cap.cubicTo(6, 1, 24, 1, 23.5, 13);
    cap.quadTo(17, 6, 6.5, 13);
    p.drawPath(cap);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(12, 13), 1.1, 1.3);
    p.drawEllipse(QPointF(18, 13), 1.1, 1.3);
    p.setPen(QPen(QColor(200, 60, 60), 1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(12, 13, 6, 5), 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 140, 140, 120));
    p.drawEllipse(QPointF(10, 16), 1.8, 1.2);
    p.drawEllipse(QPointF(20, 16), 1.8, 1.2);
}

void balloon(QPainter &p, const QPointF &top, const QColor &colour)
{
    QPainterPath string(QPointF(0, 0));
    string.cubicTo(
        top.x() * 0.3 - 3, top.y() * 0.4, top.x() * 0.7 + 3, top.y() * 0.6, top.x(), top.y() + 11);
    p.setPen(QPen(QColor(90, 90, 90), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(string);
    fillOutlined(p, ellipse(top, 8, 10), colour, colour.darker(140), 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(130));
    QPainterPath knot(top + QPointF(-1.5, 11.5));
    knot.lineTo(top + QPointF(1.5, 11.5));
    knot.lineTo(top + QPointF(0, 9.5));
    knot.closeSubpath();
    p.drawPath(knot);
    p.setBrush(QColor(255, 255, 255, 140));
    p.drawPath(rotatedEllipse(top + QPointF(-3, -4), 2, 3.5, 30));
}

void duck(QPainter &p)
{
    fillOutlined(p, ellipse(QPointF(17, 14), 12, 6), QColor(150, 110, 75), QColor(80, 55, 35), 0.9);
    QPainterPath tail(QPointF(27, 12));
    tail.lineTo(31, 7);
    tail.lineTo(29, 14);
    fillOutlined(p, tail, QColor(150, 110, 75), QColor(80, 55, 35), 0.9);
    fillOutlined(p, ellipse(QPointF(8, 6), 4.6, 4.3), QColor(30, 120, 60), QColor(20, 70, 35), 0.9);
    QPainterPath beak(QPointF(4, 5.5));
    beak.lineTo(-1.5, 7);
    beak.lineTo(4, 8.5);
    fillOutlined(p, beak, QColor(245, 170, 30), QColor(170, 100, 20), 0.6);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(6, 10.2), QPointF(11, 10.4));
    eye(p, QPointF(7, 5), 0.9);
}

} // namespace Figures
