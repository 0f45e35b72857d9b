#include "flowchart/FlowchartLayout.h"

#include <cmath>

double roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5)
        return down + 1;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

int designedLabelWidth(int block)
{
    const BlockRole role = FlowchartBlocks.at(block).role;
    return role == BlockRole::Question ? 70 : role == BlockRole::Ending ? 110 : 173;
}

int designedLabelHeight(int block)
{
    const BlockRole role = FlowchartBlocks.at(block).role;
    return role == BlockRole::Question ? 28 : role == BlockRole::Ending ? 69 : 49;
}

namespace {

struct LineSpan {
    double start;
    double end;
};

} // namespace

void FlowchartLayout::compute(int scaleWidth, int scaleHeight, int frameWidth, int frameHeight)
{
    stretch = scaleWidth > 800 ? 10 : 0;
    centerX = static_cast<qint16>(roundHalfEven(scaleWidth / 2.0 + 15));

    const int C = centerX;
    const int S = stretch;
    const double h = C / 2.0, q = C / 4.0, h3 = 3 * C / 2.0, q3 = 3 * C / 4.0, q5 = 5 * C / 4.0,
                 q7 = 7 * C / 4.0;

    const auto fill = [this](int block, std::initializer_list<LineSpan> lines) {
        int n = 1;
        for (const LineSpan &line : lines) {
            lineStartX[block][n] = line.start;
            lineEndX[block][n] = line.end;
            ++n;
        }
        for (; n < MaxTextLines; ++n) {
            lineStartX[block][n] = 0;
            lineEndX[block][n] = 0;
        }
    };
    fill(0, { { C - 90.0, C + 103.0 }, { C - 98.0, C + 95.0 }, { C - 106.0, C + 87.0 } });
    fill(1, { { C - 29.0, C + 29.0 }, { C - 39.0, C + 39.0 } });
    fill(2, { { h - 70, h + 123 }, { h - 78, h + 115 }, { h - 86, h + 107 } });
    fill(3, { { h3 - 108, h3 + 84 }, { h3 - 116, h3 + 76 }, { h3 - 124, h3 + 68 } });
    fill(4, { { h - 9, h + 49 }, { h - 19, h + 59 } });
    fill(5, { { h3 - 47, h3 + 11 }, { h3 - 57, h3 + 21 } });
    fill(6, { { q - 45, q + 87 }, { q - 52, q + 80 }, { q - 59, q + 73 }, { q - 66, q + 66 } });
    fill(7,
        { { q3 - 45, q3 + 86 }, { q3 - 52, q3 + 79 }, { q3 - 59, q3 + 72 }, { q3 - 66, q3 + 65 } });
    fill(8,
        { { q5 - 86, q5 + 46 }, { q5 - 93, q5 + 39 }, { q5 - 100, q5 + 32 },
            { q5 - 107, q5 + 25 } });
    fill(9,
        { { q7 - 86, q7 + 45 }, { q7 - 93, q7 + 38 }, { q7 - 100, q7 + 31 },
            { q7 - 107, q7 + 24 } });

    textTop = { 55.0 + S, 124.0 + 2 * S, 150.0 + 3 * S, 150.0 + 3 * S, 220.0 + 4 * S, 220.0 + 4 * S,
        260.0 + 5 * S, 260.0 + 5 * S, 260.0 + 5 * S, 260.0 + 5 * S };

    frameGap = (scaleWidth - 4.0 * frameWidth) / 5.0;
    const double g = frameGap;
    frameLeft = { g, 2 * g + frameWidth, 3 * g + 2.0 * frameWidth, 4 * g + 3.0 * frameWidth };
    const double bandTop = 379 + 7 * S;
    frameTop = (scaleHeight - bandTop - frameHeight) / 2.0 + bandTop;

    const std::array<double, BlockCount> left = { C - 90.0, C - 36.0, h - 70, h3 - 110, h - 15,
        h3 - 54, q - 50, q3 - 50, q5 - 90, q7 - 90 };
    const std::array<double, BlockCount> top
        = { 55.0 + S, 126.0 + 2 * S, 150.0 + 3 * S, 150.0 + 3 * S, 221.0 + 4 * S, 221.0 + 4 * S,
              256.0 + 5 * S, 256.0 + 5 * S, 256.0 + 5 * S, 256.0 + 5 * S };
    for (int b = 0; b < BlockCount; ++b) {
        LabelPlacement &label = labels[b];
        label.width = designedLabelWidth(b);
        label.height = designedLabelHeight(b) + (isQuestionBlock(b) ? 2 * S : S);
        label.top = top[b];
        label.left = left[b];
    }
}

namespace {

// The positions the shapes are drawn from: the centre, its halves and
// quarters, and the stretch of a wide window.
struct Axes {
    double C, S, h, h3, q, q3, q5, q7;
    explicit Axes(const FlowchartLayout &layout)
        : C(layout.centerX)
        , S(layout.stretch)
        , h(C / 2)
        , h3(3 * C / 2)
        , q(C / 4)
        , q3(3 * C / 4)
        , q5(5 * C / 4)
        , q7(7 * C / 4)
    {
    }
};

} // namespace

QPolygonF FlowchartLayout::blockOutline(int block) const
{
    if (!isBlock(block))
        return {};
    const double x = entryX(block), S = stretch;
    // The rows: the opening, the first question, chapters, questions, endings.
    const std::array<double, BlockCount> top = { 54 + S, 114 + 2 * S, 149 + 3 * S, 149 + 3 * S,
        210 + 4 * S, 210 + 4 * S, 255 + 5 * S, 255 + 5 * S, 255 + 5 * S, 255 + 5 * S };
    const double y = top[block];
    using P = QPointF;
    // A parallelogram, its top edge from `left` before the arrows' line on.
    const auto chapter = [&](double left, double width, double height) {
        return QPolygonF({ P(x - left, y), P(x - left + width, y),
            P(x - left + width - 30, y + height), P(x - left - 30, y + height) });
    };
    switch (FlowchartBlocks[block].role) {
    case BlockRole::Question: // a diamond 160 wide from its top corner
        return QPolygonF(
            { P(x, y), P(x + 80, y + 25 + S), P(x, y + 50 + 2 * S), P(x - 80, y + 25 + S) });
    case BlockRole::Chapter:
        return chapter(90, 200, 50 + S);
    case BlockRole::Ending:
        return chapter(70, 140, 70 + S);
    }
    return {};
}

QPainterPath FlowchartLayout::startOutline() const
{
    const Axes a(*this);
    const double radius = 12 + a.S / 2;
    const QPointF left(a.C - 40, 32 + a.S / 2), right(a.C + 40, 32 + a.S / 2);
    const QPointF corner(radius, radius);
    QPainterPath path(QPointF(left.x(), 20));
    path.lineTo(right.x(), 20);
    path.arcTo(QRectF(right - corner, right + corner), 90, -180);
    path.lineTo(left.x(), 44 + a.S);
    path.arcTo(QRectF(left - corner, left + corner), -90, -180);
    path.closeSubpath();
    return path;
}

double FlowchartLayout::entryX(int block) const
{
    const Axes a(*this);
    const std::array<double, BlockCount> x = { a.C, a.C, a.h + 20, a.h3 - 20, a.h + 20, a.h3 - 20,
        a.q + 20, a.q3 + 20, a.q5 - 20, a.q7 - 20 };
    return x.at(block);
}

QList<QLineF> FlowchartLayout::arrow(int from, int to) const
{
    const ArrowInto into = arrowInto(to);
    if (into.from == NoPlace || into.from != from)
        return {};
    // Into the block's top, where its arrows run.
    const QPointF end(entryX(to), blockOutline(to).first().y());
    if (!into.trueExit)
        return { QLineF(end.x(), end.y() - 10, end.x(), end.y()) };
    // From the question's corner on the exit's side, across and down.
    const QPointF corner = blockOutline(from).at(*into.trueExit ? 1 : 3);
    const QPointF turn(end.x(), corner.y());
    return { QLineF(corner, turn), QLineF(turn, end) };
}
