#include "SamplePictures.h"

#include "Figures.h"
#include "Scenery.h"
#include "Shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <tuple>

using Shapes::place;

namespace SamplePictures {

namespace {

constexpr int Width = 338;
constexpr int Height = 260;

const QList<QColor> AutumnLeaves { QColor(230, 70, 30), QColor(245, 150, 30), QColor(250, 205, 40),
    QColor(200, 40, 35) };

void skyAndGround(QPainter &p, const QColor &top, const QColor &horizon, const QColor &near,
    const QColor &far, double horizonY)
{
    QLinearGradient air(0, 0, 0, horizonY);
    air.setColorAt(0, top);
    air.setColorAt(1, horizon);
    p.fillRect(QRectF(0, 0, Width, horizonY + 1), air);
    QLinearGradient land(0, horizonY, 0, Height);
    land.setColorAt(0, far);
    land.setColorAt(1, near);
    p.fillRect(QRectF(0, horizonY, Width, Height - horizonY), land);
}

void woodEdge(
    QPainter &p, QRandomGenerator &random, double y, double height, const QList<QColor> &leaves)
{
    for (double x = -10; x < Width + 10; x += height * 0.32) {
        place(p, x + random.bounded(6.0), y + random.bounded(4.0), 1, [&] {
            if (random.bounded(4) == 0)
                Scenery::firTree(p, height * 1.1, QColor(55, 100, 60));
            else
                Scenery::leafyTree(p, random, height * (0.8 + random.bounded(0.4)), leaves,
                    random.bounded(3) == 0);
        });
    }
}

void grassLeaves(QPainter &p, QRandomGenerator &random, double top, int count)
{
    for (int i = 0; i < count; ++i) {
        Scenery::leaf(p, QPointF(random.bounded(double(Width)), top + random.bounded(Height - top)),
            3 + random.bounded(3.0), random.bounded(360.0),
            AutumnLeaves.at(random.bounded(int(AutumnLeaves.size()))));
    }
}

void river(QPainter &p, double top, double bottom)
{
    QPainterPath water(QPointF(0, top + 8));
    water.cubicTo(110, top - 4, 220, top + 10, Width, top);
    water.lineTo(Width, bottom);
    water.cubicTo(220, bottom + 8, 110, bottom - 8, 0, bottom + 4);
    water.closeSubpath();
    QLinearGradient blue(0, top, 0, bottom);
    blue.setColorAt(0, QColor(110, 160, 210));
    blue.setColorAt(1, QColor(60, 110, 170));
    p.setPen(QPen(QColor(60, 90, 130), 1));
    p.setBrush(blue);
    p.drawPath(water);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.4, Qt::SolidLine, Qt::RoundCap));
    for (double y = top + 10; y < bottom - 4; y += 9) {
        for (double x = 20 + int(y) % 30; x < Width; x += 70)
            p.drawLine(QPointF(x, y), QPointF(x + 16, y));
    }
}

void foxAsleep(QPainter &p, QRandomGenerator &random)
{
    skyAndGround(
        p, QColor(40, 40, 100), QColor(230, 120, 80), QColor(90, 70, 45), QColor(120, 90, 55), 150);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 220));
    for (int i = 0; i < 25; ++i)
        p.drawEllipse(QPointF(random.bounded(double(Width)), random.bounded(80.0)), 1.1, 1.1);
    p.setBrush(QColor(255, 245, 200));
    p.drawEllipse(QPointF(270, 45), 20, 20);
    p.setBrush(QColor(40, 40, 100));
    p.drawEllipse(QPointF(281, 39), 18, 18);
    woodEdge(p, random, 158, 70, { QColor(120, 60, 50), QColor(150, 90, 40), QColor(110, 80, 50) });
    // The den under the roots of an old tree.
    p.setBrush(QColor(70, 50, 35));
    QPainterPath hill(QPointF(20, 240));
    hill.cubicTo(40, 150, 220, 150, 250, 240);
    hill.closeSubpath();
    p.drawPath(hill);
    p.setBrush(QColor(35, 25, 20));
    QPainterPath hole(QPointF(70, 240));
    hole.cubicTo(75, 185, 190, 185, 200, 240);
    hole.closeSubpath();
    p.drawPath(hole);
    place(p, 92, 190, 1.3, [&] { Figures::sleepingFox(p); });
    p.fillRect(QRectF(0, 238, Width, 22), QColor(80, 60, 40));
    grassLeaves(p, random, 236, 30);
}

void foxAndHedgehog(QPainter &p, QRandomGenerator &random)
{
    skyAndGround(p, QColor(150, 200, 240), QColor(230, 240, 235), QColor(150, 130, 50),
        QColor(190, 170, 70), 120);
    woodEdge(p, random, 128, 80, AutumnLeaves);
    place(p, 15, 146, 1.5, [&] { Figures::fox(p); });
    place(
        p, 300, 186, 1.25, [&] { Figures::hedgehog(p, true); }, true);
    for (const auto &[x, y, colour] : { std::tuple { 180.0, 232.0, QColor(150, 85, 40) },
             std::tuple { 290.0, 236.0, QColor(215, 40, 30) },
             std::tuple { 305.0, 244.0, QColor(150, 85, 40) },
             std::tuple { 12.0, 246.0, QColor(215, 40, 30) } })
        place(p, x, y - 18, 1.1, [&] { Scenery::mushroom(p, colour); });
    grassLeaves(p, random, 200, 40);
}

void foxByTheRiver(QPainter &p, QRandomGenerator &random)
{
    skyAndGround(p, QColor(140, 190, 235), QColor(235, 240, 230), QColor(150, 140, 60),
        QColor(185, 165, 75), 100);
    Scenery::cloud(p, QPointF(80, 40), 60, QColor(255, 255, 255, 220));
    woodEdge(p, random, 108, 60, AutumnLeaves);
    river(p, 120, 185);
    place(p, 70, 150, 1.2, [&] { Figures::duck(p); });
    place(p, 120, 160, 1.0, [&] { Figures::duck(p); });
    place(p, 150, 146, 0.8, [&] { Figures::duck(p); });
    place(
        p, 330, 172, 1.3, [&] { Figures::fox(p); }, true);
    grassLeaves(p, random, 205, 30);
}

void foxAndBeaver(QPainter &p, QRandomGenerator &random)
{
    skyAndGround(p, QColor(150, 195, 240), QColor(240, 235, 220), QColor(145, 135, 55),
        QColor(185, 165, 75), 100);
    Scenery::sun(p, QPointF(290, 40), 16, QColor(255, 205, 60));
    woodEdge(p, random, 108, 60, AutumnLeaves);
    river(p, 118, 180);
    // The mended dam: logs laid across the water.
    p.setPen(QPen(QColor(80, 50, 30), 1));
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < 7; ++i) {
            const double x = 120 + i * 16 + (row % 2) * 8;
            const double y = 170 - row * 9;
            p.setBrush(QColor(140 + (i * 13) % 30, 90, 50));
            p.drawRoundedRect(QRectF(x, y, 18, 8), 4, 4);
        }
    }
    place(p, 12, 172, 1.25, [&] { Figures::fox(p); });
    place(p, 250, 168, 1.35, [&] { Figures::beaver(p); });
    Scenery::leaf(p, QPointF(236, 232), 10, -40, QColor(225, 50, 30));
    grassLeaves(p, random, 215, 25);
}

void zooEnclosure(QPainter &p, QRandomGenerator &random, const QColor &skyTop, const QColor &skyLow)
{
    skyAndGround(p, skyTop, skyLow, QColor(175, 150, 95), QColor(150, 175, 90), 140);
    woodEdge(
        p, random, 146, 55, { QColor(90, 150, 70), QColor(240, 190, 50), QColor(225, 95, 40) });
}

void stripedCloud(QPainter &p, QPointF at, double width)
{
    QPainterPath shape;
    const double u = width / 10;
    shape.addEllipse(at + QPointF(-2.5 * u, 0.5 * u), 2.6 * u, 1.8 * u);
    shape.addEllipse(at + QPointF(0, -0.6 * u), 3 * u, 2.4 * u);
    shape.addEllipse(at + QPointF(2.6 * u, 0.4 * u), 2.4 * u, 1.9 * u);
    shape.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(shape);
    p.save();
    p.setClipPath(shape.simplified());
    p.setPen(QPen(QColor(40, 40, 50), u * 0.7));
    for (double x = at.x() - 6 * u; x < at.x() + 6 * u; x += 1.6 * u)
        p.drawLine(QPointF(x, at.y() - 4 * u), QPointF(x - u, at.y() + 3 * u));
    p.restore();
}

void zebraAsleep(QPainter &p, QRandomGenerator &random)
{
    zooEnclosure(p, random, QColor(120, 170, 230), QColor(220, 235, 245));
    stripedCloud(p, QPointF(80, 45), 70);
    stripedCloud(p, QPointF(230, 35), 55);
    stripedCloud(p, QPointF(300, 80), 40);
    // Straw to lie on, and the feeder she hid behind.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 200, 110));
    p.drawEllipse(QPointF(150, 228), 130, 26);
    p.setPen(QPen(QColor(200, 160, 70), 1.2));
    for (int i = 0; i < 60; ++i) {
        const QPointF a(40 + random.bounded(220.0), 210 + random.bounded(38.0));
        p.drawLine(a, a + QPointF(random.bounded(14.0) - 7, random.bounded(4.0) - 2));
    }
    place(p, 45, 148, 1.9, [&] { Figures::sleepingZebra(p); });
    p.setPen(QPen(QColor(90, 60, 35), 1.2));
    p.setBrush(QColor(160, 110, 60));
    p.drawRect(QRectF(262, 186, 66, 30));
    p.drawRect(QRectF(268, 216, 6, 26));
    p.drawRect(QRectF(316, 216, 6, 26));
    p.setBrush(QColor(120, 170, 60));
    p.drawChord(QRectF(264, 178, 62, 18), 0, 180 * 16);
}

void zebraAndChildren(QPainter &p, QRandomGenerator &random)
{
    zooEnclosure(p, random, QColor(130, 185, 240), QColor(230, 240, 245));
    place(p, 30, 84, 1.5, [&] { Figures::zebra(p); });
    Scenery::fence(p, QRectF(0, 140, Width, 50), 26);
    const QList<std::tuple<double, QColor, QColor, QColor>> children {
        { 170, QColor(220, 60, 90), QColor(120, 70, 30), QColor(60, 120, 230) },
        { 215, QColor(60, 140, 210), QColor(240, 200, 90), QColor(240, 70, 60) },
        { 260, QColor(120, 180, 70), QColor(60, 40, 30), QColor(250, 200, 40) }
    };
    for (const auto &[x, clothes, hair, balloon] : children) {
        place(p, x, 176, 1.15, [&] {
            Figures::child(p, clothes, hair);
            p.translate(27, 15);
            Figures::balloon(p, QPointF(6, -40), balloon);
        });
    }
    // A carrot for the zebra.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 130, 30));
    QPainterPath carrot(QPointF(150, 150));
    carrot.lineTo(132, 143);
    carrot.lineTo(150, 142);
    carrot.closeSubpath();
    p.drawPath(carrot);
    p.setBrush(QColor(80, 160, 60));
    p.drawEllipse(QPointF(153, 145), 4, 2);
}

void zebraAtHome(QPainter &p, QRandomGenerator &random)
{
    zooEnclosure(p, random, QColor(130, 185, 240), QColor(240, 240, 235));
    Scenery::sun(p, QPointF(60, 40), 15, QColor(255, 210, 70));
    // The zebra's house.
    p.setPen(QPen(QColor(90, 60, 35), 1.2));
    p.setBrush(QColor(200, 150, 90));
    p.drawRect(QRectF(215, 95, 95, 75));
    p.setBrush(QColor(170, 60, 40));
    QPainterPath roof(QPointF(205, 98));
    roof.lineTo(262, 60);
    roof.lineTo(320, 98);
    roof.closeSubpath();
    p.drawPath(roof);
    p.setBrush(QColor(90, 60, 40));
    p.drawRect(QRectF(248, 125, 30, 45));
    // A heap of fresh hay.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 200, 90));
    QPainterPath hay(QPointF(190, 215));
    hay.cubicTo(195, 170, 275, 170, 285, 215);
    hay.closeSubpath();
    p.drawPath(hay);
    p.setPen(QPen(QColor(190, 155, 60), 1.2));
    for (int i = 0; i < 30; ++i) {
        const QPointF a(200 + random.bounded(80.0), 185 + random.bounded(28.0));
        p.drawLine(a, a + QPointF(random.bounded(12.0) - 6, random.bounded(6.0) - 3));
    }
    place(p, 40, 125, 1.25, [&] { Figures::zebra(p); });
    Scenery::fence(p, QRectF(0, 200, Width, 60), 30);
}

void zebraAndGiraffe(QPainter &p, QRandomGenerator &)
{
    skyAndGround(p, QColor(90, 80, 160), QColor(250, 160, 90), QColor(120, 110, 60),
        QColor(170, 130, 70), 165);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 90));
    p.drawEllipse(QPointF(170, 165), 38, 38);
    p.fillRect(QRectF(0, 165, Width, Height - 165), QColor(150, 125, 65));
    // The sun sets behind the pond.
    p.setBrush(QColor(240, 170, 100));
    p.drawEllipse(QPointF(170, 195), 120, 18);
    p.setPen(QPen(QColor(255, 220, 140), 2, Qt::SolidLine, Qt::RoundCap));
    for (double y = 185; y < 210; y += 6)
        p.drawLine(QPointF(150 - (y - 185), y), QPointF(190 + (y - 185), y));
    place(p, 25, 85, 1.05, [&] { Figures::giraffe(p); });
    place(p, 196, 172, 1.1, [&] { Figures::zebra(p); });
}

} // namespace

QList<Picture> all()
{
    const struct {
        const char *fileName;
        quint32 seed;
        void (*draw)(QPainter &, QRandomGenerator &);
    } scenes[] = {
        { "лиса_спит.bmp", 31, foxAsleep },
        { "лиса_и_ежик.jpg", 32, foxAndHedgehog },
        { "лиса_у_реки.jpg", 33, foxByTheRiver },
        { "лиса_и_бобр.jpg", 34, foxAndBeaver },
        { "зебра_спит.jpg", 41, zebraAsleep },
        { "зебра_и_дети.jpg", 42, zebraAndChildren },
        { "зебра_дома.bmp", 43, zebraAtHome },
        { "зебра_и_жираф.jpg", 44, zebraAndGiraffe },
    };
    QList<Picture> pictures;
    for (const auto &scene : scenes) {
        QImage image(Width, Height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRandomGenerator random(scene.seed);
        scene.draw(p, random);
        p.end();
        pictures.append({ QString::fromUtf8(scene.fileName), image });
    }
    return pictures;
}

} // namespace SamplePictures
