#include "IconPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace IconPictures {

namespace {

// The hand, pixel by pixel: K outline, W skin, S shade, B cuff, N cuff shade.
const char *const HandRows[32] = {
    "................................",
    "............KK..................",
    "...........KWWK.................",
    "..........KWWWSK................",
    "..........KWWWSK................",
    "..........KWWWSK................",
    "..........KWWWSK................",
    "..........KWWWSK................",
    "..........KWWWSK................",
    "..........KWWWSKKKK.............",
    "..........KWWWSKWWSKKKK.........",
    "..........KWWWSKWWSKWWSK........",
    "..........KWWWSKWWSKWWSKKK......",
    "......KK..KWWWSKWWSKWWSKWSK.....",
    ".....KWWK.KWWWSKWWSKWWSKWSK.....",
    ".....KWWSKKWWWWKWWWKWWWKWSK.....",
    "......KWWSKWWWWWWWWWWWWWWSK.....",
    "......KWWWWWWWWWWWWWWWWWWSK.....",
    ".......KWWWWWWWWWWWWWWWWWSK.....",
    ".......KWWWWWWWWWWWWWWWWWSK.....",
    "........KWWWWWWWWWWWWWWWSSK.....",
    "........KWWWWWWWWWWWWWWWSSK.....",
    "........KWWWWWWWWWWWWWWSSK......",
    "........KWWWWWWWWWWWWWWSSK......",
    "........KSWWWWWWWWWWWWSSSK......",
    "........KKKKKKKKKKKKKKKKKK......",
    "........KBBBBBBBBBBBBBBBNK......",
    "........KBBBBBBBBBBBBBBBNK......",
    "........KBBBBBBBBBBBBBBBNK......",
    "........KNNNNNNNNNNNNNNNNK......",
    "........KKKKKKKKKKKKKKKKKK......",
    "................................",
};

// The book's left half, pixel by pixel; the right half is its mirror image.
// K outline, R cover, M cover shade, W page, S page shade, G lines of text.
const char *const Book32[32] = {
    "................",
    "................",
    "................",
    "................",
    "......KKKK......",
    "....KKWWWWKK....",
    "...KWWWWWWWWKK..",
    "..KWWWWWWWWWWWK.",
    ".KKWWWWWWWWWWWWK",
    "KRKWGGGGGGGGGWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWGGGGGGGGGWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWGGGGGGGGGWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWGGGGGGGGGWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWGGGGGGGGGWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWGGGGGWWWWWWS",
    "KRKWWWWWWWWWWWWS",
    "KRKWWWKKKKWWWWWS",
    "KRKKKKSSSSKKWWWS",
    "KRSSSSRRRRSSKKWS",
    "KRRRRRMMMMRRSSKS",
    "KMMMMMKKKKMMRRSK",
    ".KKKKK....KKMMRS",
    "............KKMR",
    "..............KM",
    "...............K",
    "................",
    "................",
};

const char *const Book16[16] = {
    "........",
    "........",
    "........",
    "..KKK...",
    ".KWWWKK.",
    "KKWWWWWK",
    "RKGGGGWS",
    "RKWWWWWS",
    "RKGGGGWS",
    "RKWWWWWS",
    "RKGGWWWS",
    "RKWWWWWS",
    "RKKKKKWS",
    "RRRRRRKK",
    "KKKKKRRR",
    ".....KKK",
};

QColor pixelColour(char c)
{
    switch (c) {
    case 'K':
        return Qt::black;
    case 'W':
        return Qt::white;
    case 'S':
        return QColor(192, 192, 192);
    case 'G':
        return QColor(128, 128, 128);
    case 'R':
        return QColor(255, 0, 0);
    case 'M':
        return QColor(128, 0, 0);
    case 'B':
        return QColor(0, 0, 255);
    case 'N':
        return QColor(0, 0, 128);
    default:
        return Qt::transparent;
    }
}

QImage fromRows(const char *const *rows, int width, int height, bool mirrored)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int column = mirrored && x >= width / 2 ? width - 1 - x : x;
            const QColor colour = pixelColour(rows[y][column]);
            if (colour.alpha() > 0)
                p.fillRect(x, y, 1, 1, colour);
        }
    }
    return image;
}

// One page of the open book in a 32-unit square; the right page is the
// mirror image of the left one.
struct PageShape {
    QPointF outerTop { 3, 7.5 };
    QPointF topBend { 9.5, 3.5 };
    QPointF innerTop { 16, 9 };
    QPointF outerBottom { 3, 24 };
    QPointF bottomBend { 9.5, 20.5 };
    QPointF innerBottom { 16, 26 };

    QPainterPath path() const
    {
        QPainterPath page(outerTop);
        page.quadTo(topBend, innerTop);
        page.lineTo(innerBottom);
        page.quadTo(bottomBend, outerBottom);
        page.closeSubpath();
        return page;
    }

    // A point on the page, u across from the outer edge, t down from the top.
    QPointF at(double u, double t) const
    {
        const auto quad = [u](QPointF a, QPointF b, QPointF c) {
            return (1 - u) * (1 - u) * a + 2 * u * (1 - u) * b + u * u * c;
        };
        return (1 - t) * quad(outerTop, topBend, innerTop)
            + t * quad(outerBottom, bottomBend, innerBottom);
    }
};

void drawBookHalf(QPainter &p, const QPen &outline)
{
    const PageShape page;
    // The cover's edge shows below and beside the block of pages.
    QPainterPath cover(QPointF(0.6, 9.5));
    cover.lineTo(0.6, 28.2);
    cover.quadTo(8.5, 25.8, 16, 31);
    cover.lineTo(16, 12);
    cover.closeSubpath();
    p.setPen(outline);
    p.setBrush(QColor(220, 20, 20));
    p.drawPath(cover);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 0, 0, 140));
    QPainterPath shade(QPointF(1, 26.6));
    shade.lineTo(1, 27.9);
    shade.quadTo(8.5, 25.5, 15.8, 30.6);
    shade.lineTo(15.8, 29.2);
    shade.quadTo(8.5, 24.2, 1, 26.6);
    p.drawPath(shade);

    // The edges of the other pages under the top one.
    p.setPen(outline);
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(page.path().translated(-1, 1.8));
    p.setBrush(Qt::white);
    p.drawPath(page.path());

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 205, 205));
    QPainterPath fold(page.at(0.86, 0));
    for (double t = 0; t <= 1.0; t += 0.1)
        fold.lineTo(page.at(0.86, t));
    fold.lineTo(page.at(1, 1));
    fold.lineTo(page.at(1, 0));
    fold.closeSubpath();
    p.drawPath(fold);

    QPen text(QColor(128, 128, 128), 0.7);
    text.setCapStyle(Qt::RoundCap);
    p.setPen(text);
    p.setBrush(Qt::NoBrush);
    constexpr int TextLines = 6;
    for (int i = 0; i < TextLines; ++i) {
        const double t = 0.22 + 0.58 * i / (TextLines - 1);
        const double end = (i == TextLines - 1) ? 0.5 : 0.76;
        QPainterPath line(page.at(0.16, t));
        for (double u = 0.2; u <= end + 1e-9; u += 0.04)
            line.lineTo(page.at(u, t));
        p.drawPath(line);
    }
    p.setPen(outline);
    p.drawPath(page.path());
}

} // namespace

QImage book(int size)
{
    if (size == 32)
        return fromRows(Book32, 32, 32, true);
    if (size == 16)
        return fromRows(Book16, 16, 16, true);
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const QPen outline(Qt::black, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    drawBookHalf(p, outline);
    p.save();
    p.translate(32, 0);
    p.scale(-1, 1);
    drawBookHalf(p, outline);
    p.restore();
    p.setPen(outline);
    p.drawLine(QPointF(16, 9), QPointF(16, 26));
    return image;
}

QImage hand()
{
    return fromRows(HandRows, 32, 32, false);
}

} // namespace IconPictures
