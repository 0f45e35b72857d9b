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

bool isQuestionBlock(int block)
{
    return block == 1 || block == 4 || block == 5;
}

int designedLabelWidth(int block)
{
    if (isQuestionBlock(block))
        return 70;
    return block >= 6 ? 110 : 173;
}

int designedLabelHeight(int block)
{
    if (isQuestionBlock(block))
        return 28;
    return block >= 6 ? 69 : 49;
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
    const Axes a(*this);
    const double C = a.C, S = a.S;
    using P = QPointF;
    // A chapter's parallelogram with its top left corner at (x, y).
    const auto chapter = [](double x, double y, double width, double height, double slant) {
        return QPolygonF({ P(x, y), P(x + width, y), P(x + width - slant, y + height),
            P(x - slant, y + height) });
    };
    // A question's diamond from its top corner (x, y), 160 wide.
    const auto question = [](double x, double y, double stretch) {
        return QPolygonF({ P(x, y), P(x + 80, y + 25 + stretch), P(x, y + 50 + 2 * stretch),
            P(x - 80, y + 25 + stretch) });
    };
    switch (block) {
    case 0:
        return chapter(C - 90, 54 + S, 200, 50 + S, 30);
    case 1:
        return question(C, 114 + 2 * S, S);
    case 2:
        return chapter(a.h - 70, 149 + 3 * S, 200, 50 + S, 30);
    case 3:
        return chapter(a.h3 - 110, 149 + 3 * S, 200, 50 + S, 30);
    case 4:
        return question(a.h + 20, 210 + 4 * S, S);
    case 5:
        return question(a.h3 - 20, 210 + 4 * S, S);
    case 6:
        return chapter(a.q - 50, 255 + 5 * S, 140, 70 + S, 30);
    case 7:
        return chapter(a.q3 - 50, 255 + 5 * S, 140, 70 + S, 30);
    case 8:
        return chapter(a.q5 - 90, 255 + 5 * S, 140, 70 + S, 30);
    case 9:
        return chapter(a.q7 - 90, 255 + 5 * S, 140, 70 + S, 30);
    default:
        return {};
    }
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

QList<QLineF> FlowchartLayout::arrow(int from, int to) const
{
    const Axes a(*this);
    const double C = a.C, S = a.S;
    const auto drop = [](double x, double y, double length) {
        return QList<QLineF> { QLineF(x, y, x, y + length) };
    };
    // From a question's corner to the side, then down into the block.
    const auto branch = [](double fromX, double y, double toX, double length) {
        return QList<QLineF> { QLineF(fromX, y, toX, y), QLineF(toX, y, toX, y + length) };
    };
    switch (from * BlockCount + to) {
    case StartTerminator *BlockCount + 0:
        return drop(C, 44 + S, 10);
    case 0 * BlockCount + 1:
        return drop(C, 104 + 2 * S, 10);
    case 1 * BlockCount + 2:
        return branch(C - 80, 139 + 3 * S, a.h + 20, 10);
    case 1 * BlockCount + 3:
        return branch(C + 80, 139 + 3 * S, a.h3 - 20, 10);
    case 2 * BlockCount + 4:
        return drop(a.h + 20, 200 + 4 * S, 10);
    case 3 * BlockCount + 5:
        return drop(a.h3 - 20, 200 + 4 * S, 10);
    case 4 * BlockCount + 6:
        return branch(a.h - 60, 235 + 5 * S, a.q + 20, 20);
    case 4 * BlockCount + 7:
        return branch(a.h + 100, 235 + 5 * S, a.q3 + 20, 20);
    case 5 * BlockCount + 8:
        return branch(a.h3 - 100, 235 + 5 * S, a.q5 - 20, 20);
    case 5 * BlockCount + 9:
        return branch(a.h3 + 60, 235 + 5 * S, a.q7 - 20, 20);
    default:
        return {};
    }
}
