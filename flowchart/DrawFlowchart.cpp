#include "flowchart/DrawFlowchart.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"
#include "flowchart/Surface.h"

#include <QColor>

namespace {

// The arc ends are stored single-precision values, not multiples of pi.
const double Quarter = static_cast<double>(1.57f);
const double ThreeQuarters = static_cast<double>(4.71f);

void outline(Surface &s, const QPolygonF &corners)
{
    for (qsizetype i = 0; i < corners.size(); ++i)
        s.segment(corners[i], corners[(i + 1) % corners.size()]);
}

void arrow(Surface &s, const QList<QLineF> &lines)
{
    for (const QLineF &line : lines)
        s.segment(line.p1(), line.p2());
}

// Each arrow and the block it leads to, way after way, every block once.
void drawWays(Surface &s, const FlowchartLayout &layout)
{
    QList<int> drawn { FirstBlock };
    for (const FlowchartPath &way : FlowchartPath::everyWay()) {
        for (qsizetype i = 1; i < way.blocks.size(); ++i) {
            const int to = way.blocks[i];
            if (drawn.contains(to))
                continue;
            drawn << to;
            arrow(s, layout.arrow(way.blocks[i - 1], to));
            outline(s, layout.blockOutline(to));
        }
    }
}

} // namespace

void drawFlowchart(
    Surface &s, FlowchartLayout &layout, int scaleWidth, int scaleHeight, const QColor &exitColour)
{
    s.clear();
    s.setFontSize(scaleWidth > 800 ? 12 : 10);
    layout.compute(scaleWidth, scaleHeight);

    const double C = layout.centerX;
    const double S = layout.stretch;
    const double h = C / 2, q = C / 4, h3 = 3 * C / 2, q3 = 3 * C / 4, q5 = 5 * C / 4,
                 q7 = 7 * C / 4;
    using P = QPointF;

    arrow(s, layout.arrow(StartTerminator, FirstBlock));
    s.segment(P(C - 40, 20), P(C + 40, 20));
    s.segment(P(C - 40, 44 + S), P(C + 40, 44 + S));
    s.arc(P(C - 40, 32 + S / 2), 12 + S / 2, Quarter, ThreeQuarters);
    s.arc(P(C + 40, 32 + S / 2), 12 + S / 2, ThreeQuarters, Quarter);

    s.point(P(C - 90, 54 + S));
    outline(s, layout.blockOutline(FirstBlock));
    drawWays(s, layout);

    s.segment(P(q5 - 20, 325 + 6 * S), P(q5 - 20, 335 + 7 * S));
    s.segment(P(q7 - 20, 325 + 6 * S), P(q7 - 20, 335 + 7 * S));
    s.segment(P(q5 - 20, 335 + 7 * S), P(q7 - 19, 335 + 7 * S));
    s.segment(P(h3 - 20, 335 + 7 * S), P(h3 - 20, 345 + 8 * S));
    s.segment(P(q + 20, 325 + 6 * S), P(q + 20, 335 + 7 * S));
    s.segment(P(q3 + 20, 325 + 6 * S), P(q3 + 20, 335 + 7 * S));
    s.segment(P(q + 20, 335 + 7 * S), P(q3 + 21, 335 + 7 * S));
    s.segment(P(h + 20, 335 + 7 * S), P(h + 20, 345 + 8 * S));
    s.segment(P(h + 20, 345 + 8 * S), P(h3 - 19, 345 + 8 * S));
    s.segment(P(C, 345 + 8 * S), P(C, 355 + 9 * S));
    s.segment(P(C - 40, 355 + 9 * S), P(C + 40, 355 + 9 * S));
    s.segment(P(C - 40, layout.chartBottom()), P(C + 40, layout.chartBottom()));
    s.arc(P(C - 40, 367 + 9.5 * S), 12 + S / 2, Quarter, ThreeQuarters);
    s.arc(P(C + 40, 367 + 9.5 * S), 12 + S / 2, ThreeQuarters, Quarter);

    s.caption(P(C - 28, 22 + S / 2), terminatorCaption(StartTerminator));
    s.caption(P(C - 22, 357 + 9.5 * S), terminatorCaption(EndTerminator));

    s.setForeColor(exitColour);
    s.caption(P(C - 120, 115 + 3 * S), exitCaption(false));
    s.caption(P(C + 90, 115 + 3 * S), exitCaption(true));
    s.caption(P(h - 85, 211 + 5 * S), exitCaption(false));
    s.caption(P(h + 90, 211 + 5 * S), exitCaption(true));
    s.caption(P(q5 - 20, 211 + 5 * S), exitCaption(false));
    s.caption(P(h3 + 50, 211 + 5 * S), exitCaption(true));
    s.setForeColor(QColor(0, 0, 0));

    s.setFontSize(8);
}
