#include "flowchart/DrawFlowchart.h"

#include "flowchart/FlowchartLayout.h"
#include "flowchart/Surface.h"

#include <QColor>

namespace {

// The arc ends are stored single-precision values, not multiples of pi.
const double Quarter = static_cast<double>(1.57f);
const double ThreeQuarters = static_cast<double>(4.71f);

void outline(Surface &s, std::initializer_list<QPointF> corners)
{
    const QPointF first = *corners.begin();
    QPointF from = first;
    for (auto it = corners.begin() + 1; it != corners.end(); ++it) {
        s.segment(from, *it);
        from = *it;
    }
    s.segment(from, first);
}

void branch(Surface &s, QPointF from, QPointF corner, double drop)
{
    s.segment(from, corner);
    s.segment(corner, QPointF(corner.x(), corner.y() + drop));
}

} // namespace

void drawFlowchart(Surface &s, FlowchartLayout &layout, int scaleWidth, int scaleHeight)
{
    s.clear();
    s.setFontSize(scaleWidth > 800 ? 12 : 10);
    layout.compute(scaleWidth, scaleHeight);

    const double C = layout.centerX;
    const double S = layout.stretch;
    const double h = C / 2, q = C / 4, h3 = 3 * C / 2, q3 = 3 * C / 4, q5 = 5 * C / 4,
                 q7 = 7 * C / 4;
    using P = QPointF;

    s.segment(P(C, 44 + S), P(C, 54 + S));
    s.segment(P(C - 40, 20), P(C + 40, 20));
    s.segment(P(C - 40, 44 + S), P(C + 40, 44 + S));
    s.arc(P(C - 40, 32 + S / 2), 12 + S / 2, Quarter, ThreeQuarters);
    s.arc(P(C + 40, 32 + S / 2), 12 + S / 2, ThreeQuarters, Quarter);

    s.point(P(C - 90, 54 + S));
    outline(s,
        { P(C - 90, 54 + S), P(C + 110, 54 + S), P(C + 80, 104 + 2 * S), P(C - 120, 104 + 2 * S) });
    s.segment(P(C, 104 + 2 * S), P(C, 114 + 2 * S));
    outline(s,
        { P(C, 114 + 2 * S), P(C + 80, 139 + 3 * S), P(C, 164 + 4 * S), P(C - 80, 139 + 3 * S) });

    branch(s, P(C - 80, 139 + 3 * S), P(h + 20, 139 + 3 * S), 10);
    outline(s,
        { P(h - 70, 149 + 3 * S), P(h + 130, 149 + 3 * S), P(h + 100, 199 + 4 * S),
            P(h - 100, 199 + 4 * S) });
    s.segment(P(h + 20, 200 + 4 * S), P(h + 20, 210 + 4 * S));
    outline(s,
        { P(h + 20, 210 + 4 * S), P(h + 100, 235 + 5 * S), P(h + 20, 260 + 6 * S),
            P(h - 60, 235 + 5 * S) });

    branch(s, P(h - 60, 235 + 5 * S), P(q + 20, 235 + 5 * S), 20);
    outline(s,
        { P(q - 50, 255 + 5 * S), P(q + 90, 255 + 5 * S), P(q + 60, 325 + 6 * S),
            P(q - 80, 325 + 6 * S) });
    branch(s, P(h + 100, 235 + 5 * S), P(q3 + 20, 235 + 5 * S), 20);
    outline(s,
        { P(q3 - 50, 255 + 5 * S), P(q3 + 90, 255 + 5 * S), P(q3 + 60, 325 + 6 * S),
            P(q3 - 80, 325 + 6 * S) });

    branch(s, P(C + 80, 139 + 3 * S), P(h3 - 20, 139 + 3 * S), 10);
    outline(s,
        { P(h3 - 110, 149 + 3 * S), P(h3 + 90, 149 + 3 * S), P(h3 + 60, 199 + 4 * S),
            P(h3 - 140, 199 + 4 * S) });
    s.segment(P(h3 - 20, 200 + 4 * S), P(h3 - 20, 210 + 4 * S));
    outline(s,
        { P(h3 - 20, 210 + 4 * S), P(h3 + 60, 235 + 5 * S), P(h3 - 20, 260 + 6 * S),
            P(h3 - 100, 235 + 5 * S) });

    branch(s, P(h3 + 60, 235 + 5 * S), P(q7 - 20, 235 + 5 * S), 20);
    outline(s,
        { P(q7 - 90, 255 + 5 * S), P(q7 + 50, 255 + 5 * S), P(q7 + 20, 325 + 6 * S),
            P(q7 - 120, 325 + 6 * S) });
    branch(s, P(h3 - 100, 235 + 5 * S), P(q5 - 20, 235 + 5 * S), 20);
    outline(s,
        { P(q5 - 90, 255 + 5 * S), P(q5 + 50, 255 + 5 * S), P(q5 + 20, 325 + 6 * S),
            P(q5 - 120, 325 + 6 * S) });

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
    s.segment(P(C - 40, 379 + 10 * S), P(C + 40, 379 + 10 * S));
    s.arc(P(C - 40, 367 + 9.5 * S), 12 + S / 2, Quarter, ThreeQuarters);
    s.arc(P(C + 40, 367 + 9.5 * S), 12 + S / 2, ThreeQuarters, Quarter);

    s.caption(P(C - 28, 22 + S / 2), QStringLiteral("Начало"));
    s.caption(P(C - 22, 357 + 9.5 * S), QStringLiteral("Конец"));

    s.setForeColor(QColor(255, 0, 0));
    s.caption(P(C - 120, 115 + 3 * S), QStringLiteral("Ложь"));
    s.caption(P(C + 90, 115 + 3 * S), QStringLiteral("Истина"));
    s.caption(P(h - 85, 211 + 5 * S), QStringLiteral("Ложь"));
    s.caption(P(h + 90, 211 + 5 * S), QStringLiteral("Истина"));
    s.caption(P(q5 - 20, 211 + 5 * S), QStringLiteral("Ложь"));
    s.caption(P(h3 + 50, 211 + 5 * S), QStringLiteral("Истина"));
    s.setForeColor(QColor(0, 0, 0));

    s.setFontSize(8);
}
