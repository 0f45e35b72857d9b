#include "TitlePicture.h"

#include "Figures.h"
#include "Scenery.h"
#include "Shapes.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <limits>
#include <tuple>

using Shapes::place;

namespace TitlePicture {

namespace {

const QList<QColor> Birch { QColor(250, 205, 40), QColor(245, 180, 30), QColor(255, 225, 90),
    QColor(230, 160, 20) };
const QList<QColor> Maple { QColor(220, 50, 30), QColor(235, 95, 25), QColor(200, 30, 35),
    QColor(245, 140, 30) };
const QList<QColor> Oak { QColor(190, 120, 40), QColor(170, 140, 40), QColor(215, 150, 50),
    QColor(140, 130, 50) };

void sky(QPainter &p)
{
    QLinearGradient gradient(0, 0, 0, 190);
    gradient.setColorAt(0, QColor(168, 205, 238));
    gradient.setColorAt(0.55, QColor(214, 230, 240));
    gradient.setColorAt(1, QColor(252, 232, 190));
    p.fillRect(QRect(0, 0, Width, 200), gradient);
    QRadialGradient glow(QPointF(402, 132), 90);
    glow.setColorAt(0, QColor(255, 240, 170, 230));
    glow.setColorAt(1, QColor(255, 240, 170, 0));
    p.fillRect(QRect(280, 40, 192, 170), glow);
    Scenery::sun(p, QPointF(402, 132), 19, QColor(255, 196, 40));
    Scenery::cloud(p, QPointF(120, 128), 70, QColor(255, 255, 255, 200));
    Scenery::cloud(p, QPointF(265, 118), 52, QColor(255, 255, 255, 180));
}

QPainterPath ridge(double baseY, double amplitude, double wave, double phase)
{
    QPainterPath path(QPointF(0, Height));
    for (int x = 0; x <= Width; x += 4) {
        const double y = baseY - amplitude * std::sin(x / wave + phase)
            - amplitude * 0.4 * std::sin(x / (wave * 0.37) + phase * 2);
        path.lineTo(x, y);
    }
    path.lineTo(Width, Height);
    path.closeSubpath();
    return path;
}

void hills(QPainter &p, QRandomGenerator &random)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(158, 160, 200));
    p.drawPath(ridge(160, 12, 60, 1.0));
    p.setBrush(QColor(190, 150, 150));
    p.drawPath(ridge(174, 9, 45, 2.5));

    // The far edge of the wood along the middle hill.
    for (int x = -4; x < Width + 8; x += 6) {
        const double y = 196 - 5 * std::sin(x / 60.0 + 0.5);
        place(p, x + random.bounded(3.0), y, 1, [&] {
            if (random.bounded(5) == 0)
                Scenery::firTree(p, 30 + random.bounded(10.0), QColor(60, 100, 60));
            else
                Scenery::leafyTree(p, random, 26 + random.bounded(12.0),
                    random.bounded(2) ? Maple : (random.bounded(2) ? Birch : Oak), false);
        });
    }
    QLinearGradient meadow(0, 190, 0, Height);
    meadow.setColorAt(0, QColor(196, 180, 82));
    meadow.setColorAt(0.5, QColor(200, 160, 66));
    meadow.setColorAt(1, QColor(168, 128, 54));
    p.setBrush(meadow);
    p.drawPath(ridge(200, 4, 80, 4.0));
    p.setBrush(QColor(158, 150, 66));
    p.drawPath(ridge(268, 10, 90, 0.3));

    // A pond mirrors the sky.
    QPainterPath pond(QPointF(122, 240));
    pond.cubicTo(128, 224, 212, 222, 228, 236);
    pond.cubicTo(236, 248, 150, 258, 122, 240);
    QLinearGradient water(0, 224, 0, 254);
    water.setColorAt(0, QColor(120, 170, 215));
    water.setColorAt(1, QColor(80, 130, 190));
    p.setBrush(water);
    p.setPen(QPen(QColor(120, 110, 60), 1.2));
    p.drawPath(pond);
    p.setPen(QPen(QColor(235, 245, 255), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(150, 236), QPointF(178, 236));
    p.drawLine(QPointF(170, 243), QPointF(205, 243));
    p.setPen(Qt::NoPen);
}

// The path winds from the foot of the picture over the hill.
void footpath(QPainter &p)
{
    QPainterPath way(QPointF(150, Height));
    way.cubicTo(240, 300, 320, 270, 250, 240);
    way.cubicTo(205, 222, 255, 207, 290, 199);
    way.lineTo(296, 199);
    way.cubicTo(268, 210, 240, 224, 275, 240);
    way.cubicTo(360, 275, 310, 305, 262, Height);
    way.closeSubpath();
    QLinearGradient sand(0, 199, 0, Height);
    sand.setColorAt(0, QColor(236, 214, 168));
    sand.setColorAt(1, QColor(214, 180, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(sand);
    p.drawPath(way);
}

void trees(QPainter &p, QRandomGenerator &random)
{
    const auto tree = [&](double x, double y, double h, const QList<QColor> &leaves, bool birch) {
        place(p, x, y, 1, [&] { Scenery::leafyTree(p, random, h, leaves, birch); });
    };
    tree(352, 222, 78, Oak, false);
    tree(318, 214, 64, Maple, false);
    tree(188, 214, 58, Birch, true);
    tree(430, 226, 70, Maple, false);
    tree(160, 226, 66, Maple, false);
    tree(105, 300, 200, Birch, true);
    tree(48, 318, 226, Birch, true);
    tree(10, 330, 150, Maple, false);

    // Haystacks in the field.
    const auto haystack = [&p](double x, double y, double w) {
        QPainterPath stack(QPointF(x, y));
        stack.cubicTo(x + w * 0.05, y - w, x + w * 0.95, y - w, x + w, y);
        stack.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(225, 185, 85));
        p.drawPath(stack);
        p.setPen(QPen(QColor(185, 140, 60), w * 0.04));
        for (double t = 0.25; t < 0.8; t += 0.25)
            p.drawLine(QPointF(x + w * t, y - w * 0.7), QPointF(x + w * t - w * 0.05, y));
    };
    haystack(282, 234, 38);
    haystack(440, 208, 20);

    // Mushrooms and fallen leaves in the grass at the foot of the picture.
    for (const auto &[x, y, s, cap] : { std::tuple { 150.0, 322.0, 1.2, QColor(215, 40, 30) },
             std::tuple { 168.0, 328.0, 0.9, QColor(215, 40, 30) },
             std::tuple { 318.0, 318.0, 1.1, QColor(150, 85, 40) } })
        place(p, x, y, s, [&] { Scenery::mushroom(p, cap); });
    const QList<QColor> fallen = Maple + Birch + Oak;
    for (int i = 0; i < 60; ++i) {
        const QPointF at(random.bounded(double(Width)), 290 + random.bounded(48.0));
        Scenery::leaf(p, at, 3 + random.bounded(2.5), random.bounded(360.0),
            fallen.at(random.bounded(int(fallen.size()))));
    }
}

void fallingLeaves(QPainter &p, QRandomGenerator &random)
{
    const QList<QColor> colours = Maple + Birch;
    for (int i = 0; i < 22; ++i) {
        const QPointF at(random.bounded(double(Width)), 115 + random.bounded(170.0));
        Scenery::leaf(p, at, 5 + random.bounded(3.0), random.bounded(360.0),
            colours.at(random.bounded(int(colours.size()))));
    }
}

QFont headingFont(int pixels)
{
    const QStringList families = QFontDatabase::families(QFontDatabase::Cyrillic);
    QFont font;
    for (const QString &wanted :
        { QStringLiteral("URW Bookman"), QStringLiteral("DejaVu Serif") }) {
        if (families.contains(wanted)) {
            font.setFamily(wanted);
            break;
        }
    }
    font.setWeight(QFont::DemiBold);
    font.setPixelSize(pixels);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    return font;
}

void headingText(QPainter &p)
{
    const QStringList lines { QStringLiteral("ТРОПИНЕЦ"), QStringLiteral("ВЫБЕРИ ПРОДОЛЖЕНИЕ"),
        QStringLiteral("РАССКАЗА") };
    const int sizes[3] = { 40, 25, 25 };
    const int baselines[3] = { 46, 80, 108 };
    for (int i = 0; i < 3; ++i) {
        QPainterPath text;
        const QFont font = headingFont(sizes[i]);
        text.addText(0, 0, font, lines[i]);
        const QRectF box = text.boundingRect();
        text.translate((Width - box.width()) / 2 - box.left(), baselines[i]);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 248, 228, 235), i == 0 ? 7 : 5.5, Qt::SolidLine, Qt::RoundCap,
            Qt::RoundJoin));
        p.drawPath(text);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 50, 25, 90));
        p.drawPath(text.translated(1.6, 1.6));
        QLinearGradient brown(0, baselines[i] - sizes[i] * 0.75, 0, baselines[i]);
        brown.setColorAt(0, QColor(150, 80, 30));
        brown.setColorAt(1, QColor(100, 50, 20));
        p.setBrush(brown);
        p.setPen(QPen(QColor(80, 40, 15), 0.8));
        p.drawPath(text);
    }
}

void zebraPicture(QPainter &p)
{
    const QRectF outer(343, 230, 118, 96);
    const QRectF inner = outer.adjusted(7, 7, -7, -7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 25, 10, 90));
    p.drawRect(outer.translated(3, 3));

    p.save();
    p.setClipRect(inner);
    QLinearGradient air(0, inner.top(), 0, inner.bottom());
    air.setColorAt(0, QColor(150, 200, 240));
    air.setColorAt(0.6, QColor(225, 238, 245));
    p.fillRect(inner, air);
    p.setBrush(QColor(140, 180, 70));
    QPainterPath grass(QPointF(inner.left(), inner.top() + 50));
    grass.quadTo(inner.center().x(), inner.top() + 42, inner.right(), inner.top() + 48);
    grass.lineTo(inner.bottomRight());
    grass.lineTo(inner.bottomLeft());
    grass.closeSubpath();
    p.drawPath(grass);
    place(p, inner.left() + 88, inner.top() + 50, 1,
        [&] { Scenery::firTree(p, 34, QColor(60, 110, 60)); });
    place(p, inner.left() + 12, inner.top() + 9, 0.7, [&] { Figures::zebra(p); });
    Scenery::fence(p, QRectF(inner.left(), inner.top() + 40, inner.width(), 34), 13);
    p.restore();

    // A wooden frame with a gilt inner edge.
    QPainterPath frame;
    frame.addRect(outer);
    frame.addRect(inner);
    QLinearGradient wood(outer.topLeft(), outer.bottomRight());
    wood.setColorAt(0, QColor(176, 112, 52));
    wood.setColorAt(1, QColor(110, 62, 28));
    p.setBrush(wood);
    p.setPen(QPen(QColor(70, 40, 18), 1));
    p.drawPath(frame);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(236, 196, 90), 1.4));
    p.drawRect(inner.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setPen(QPen(QColor(255, 230, 190, 110), 1));
    p.drawLine(outer.topLeft() + QPointF(1.5, 1.5), outer.topRight() + QPointF(-1.5, 1.5));
    p.drawLine(outer.topLeft() + QPointF(1.5, 1.5), outer.bottomLeft() + QPointF(1.5, -1.5));
}

// Lays a picture as small tiles with grout between them.
QImage mosaic(const QImage &scene, int tileSize, quint32 seed)
{
    const int w = scene.width();
    const int h = scene.height();
    const int columns = w / tileSize + 2;
    const int rows = h / tileSize + 2;
    QRandomGenerator random(seed);
    QList<QPointF> seeds;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            seeds.append(QPointF((c + 0.15 + random.bounded(0.7)) * tileSize,
                (r + 0.15 + random.bounded(0.7)) * tileSize));
        }
    }
    // Each pixel goes to its nearest seed; near the border of two tiles it is grout.
    QList<int> owner(w * h);
    QList<float> edge(w * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QPointF at(x + 0.5, y + 0.5);
            int best = -1, second = -1;
            double d1 = std::numeric_limits<double>::max(), d2 = d1;
            const int cx = x / tileSize, cy = y / tileSize;
            for (int r = std::max(0, cy - 1); r <= std::min(rows - 1, cy + 1); ++r) {
                for (int c = std::max(0, cx - 1); c <= std::min(columns - 1, cx + 1); ++c) {
                    const int index = r * columns + c;
                    const QPointF d = at - seeds[index];
                    const double dist = d.x() * d.x() + d.y() * d.y();
                    if (dist < d1) {
                        second = best;
                        d2 = d1;
                        best = index;
                        d1 = dist;
                    } else if (dist < d2) {
                        second = index;
                        d2 = dist;
                    }
                }
            }
            const QPointF between = seeds[second] - seeds[best];
            const double gap = std::hypot(between.x(), between.y());
            owner[y * w + x] = best;
            edge[y * w + x] = float((d2 - d1) / (2 * gap));
        }
    }
    QList<double> red(seeds.size()), green(seeds.size()), blue(seeds.size());
    QList<int> count(seeds.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb c = scene.pixel(x, y);
            const int o = owner[y * w + x];
            red[o] += qRed(c);
            green[o] += qGreen(c);
            blue[o] += qBlue(c);
            ++count[o];
        }
    }
    QList<double> shade(seeds.size());
    for (double &s : shade)
        s = 0.93 + random.bounded(0.12);

    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int o = owner[y * w + x];
            const double n = std::max(1, count[o]);
            double r = red[o] / n, g = green[o] / n, b = blue[o] / n;
            const double e = edge[y * w + x];
            // Tiles catch the light at their upper left edge and are set in grout.
            double light = shade[o];
            const QPointF d = QPointF(x + 0.5, y + 0.5) - seeds[o];
            light += 0.05 * std::clamp(-(d.x() + d.y()) / tileSize, -1.0, 1.0);
            if (e < 0.5) {
                r = 0.62 * r + 40;
                g = 0.62 * g + 36;
                b = 0.62 * b + 32;
                light = 1;
            } else if (e < 1.2) {
                light *= 0.9;
            }
            out.setPixel(x, y,
                qRgb(std::clamp(int(r * light), 0, 255), std::clamp(int(g * light), 0, 255),
                    std::clamp(int(b * light), 0, 255)));
        }
    }
    return out;
}

} // namespace

QImage draw()
{
    QImage scene(Width, Height, QImage::Format_RGB32);
    {
        QPainter p(&scene);
        p.setRenderHint(QPainter::Antialiasing);
        QRandomGenerator random(2024);
        sky(p);
        hills(p, random);
        footpath(p);
        trees(p, random);
        fallingLeaves(p, random);
    }
    QImage picture = mosaic(scene, 7, 11);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    headingText(p);
    zebraPicture(p);
    return picture;
}

} // namespace TitlePicture
