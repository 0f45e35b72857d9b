#include "flowchart/FlowchartSvg.h"

#include "flowchart/FlowchartGraph.h"
#include "flowchart/FlowchartLayout.h"
#include "flowchart/FlowchartPath.h"
#include "flowchart/Surface.h"

#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <span>

namespace {

const QString TraceAreaId = QStringLiteral("traceArea");

// Hundredths of a pixel are finer than any screen shows, and fewer digits
// keep the page small.
QString number(double value)
{
    QString text = QString::number(std::round(value * 100) / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString point(QPointF p)
{
    return number(p.x()) + QLatin1Char(' ') + number(p.y());
}

// A pupil's words are data: the signs of markup are escaped, and control
// characters, which no page may hold, are written as spaces.
QString escaped(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return text.toHtmlEscaped();
}

QString arcData(const SurfaceOp &op)
{
    double span = op.a2 - op.a1;
    if (span < 0)
        span += 2 * M_PI;
    // Angles grow towards the top, so the arc runs counter-clockwise on the
    // screen: SVG's sweep flag 0.
    const auto at = [&](double angle) {
        return op.p1 + QPointF(op.radius * std::cos(angle), -op.radius * std::sin(angle));
    };
    return QStringLiteral("M%1A%2 %2 0 %3 0 %4")
        .arg(point(at(op.a1)), number(op.radius),
            span > M_PI ? QStringLiteral("1") : QStringLiteral("0"), point(at(op.a1 + span)));
}

QPainterPath polygonPath(const QPolygonF &corners)
{
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

QPainterPath linesPath(const QList<QLineF> &lines)
{
    QPainterPath path;
    for (const QLineF &line : lines) {
        path.moveTo(line.p1());
        path.lineTo(line.p2());
    }
    return path;
}

} // namespace

QString FlowchartSvg::startId()
{
    return QStringLiteral("trace-start");
}

QString FlowchartSvg::blockId(int block)
{
    return QStringLiteral("trace-block-%1").arg(block);
}

QString FlowchartSvg::arrowId(int block)
{
    return QStringLiteral("trace-arrow-%1").arg(block);
}

QString FlowchartSvg::pathData(const QPainterPath &path)
{
    QString data;
    QPointF subpathStart;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF at(e.x, e.y);
        if (e.isMoveTo()) {
            data += QLatin1Char('M') + point(at);
            subpathStart = at;
        } else if (e.isLineTo()) {
            // A line back to where the outline began closes it, so its last
            // corner is joined like the others.
            const bool closes = at == subpathStart
                && (i + 1 == path.elementCount() || path.elementAt(i + 1).isMoveTo());
            data += closes ? QStringLiteral("Z") : QLatin1Char('L') + point(at);
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += QLatin1Char('C') + point(at) + QLatin1Char(' ') + point(QPointF(c2.x, c2.y))
                + QLatin1Char(' ') + point(QPointF(end.x, end.y));
            i += 2;
        }
    }
    return data;
}

QString FlowchartSvg::clipped(const QString &content, const QString &id, const QPolygonF &area)
{
    return QStringLiteral(
        "<clipPath id=\"%1\"><path d=\"%2\"/></clipPath><g clip-path=\"url(#%1)\">%3</g>")
        .arg(id, pathData(polygonPath(area)), content);
}

QString FlowchartSvg::drawing(const Surface &surface, qsizetype from)
{
    QString svg;
    QString lines;
    QColor linesColour;
    // Where the last line ended: a line going on from there needs no move.
    bool penDown = false;
    QPointF pen;
    // Lines of one colour in a row go into one path, as the page is smaller so.
    const auto flush = [&] {
        if (!lines.isEmpty())
            svg += QStringLiteral("<path stroke=\"%1\" d=\"%2\"/>").arg(linesColour.name(), lines);
        lines.clear();
        penDown = false;
    };
    double ascent = 0;
    // Measures as the editor measured, for the pieces between tabs.
    Surface measuring;
    measuring.setFontSize(-1);
    const QList<SurfaceOp> &ops = surface.ops();
    for (const SurfaceOp &op : std::span(ops.constData() + from, ops.size() - from)) {
        if (op.kind == SurfaceOp::Text) {
            flush();
            if (op.fontSize != measuring.fontSize()) {
                measuring.setFontSize(op.fontSize);
                ascent = Surface::ascent(op.fontSize);
            }
            // A tab is a blank to the editor's next tab stop: each piece
            // between tabs stands where the editor writes it.
            qsizetype start = 0;
            for (const QStringView piece : QStringView(op.text).split(QLatin1Char('\t'))) {
                const double x = start ? measuring.textWidth(op.text.left(start)) : 0;
                const double width = piece.size() == op.text.size()
                    ? op.width
                    : measuring.textWidth(op.text.left(start + piece.size())) - x;
                start += piece.size() + 1;
                if (piece.isEmpty())
                    continue;
                svg += QStringLiteral("<text x=\"%1\" y=\"%2\" font-size=\"%3\" textLength=\"%4\" "
                                      "lengthAdjust=\"spacingAndGlyphs\" fill=\"%5\">%6</text>")
                           .arg(number(op.p1.x() + x), number(op.p1.y() + ascent),
                               number(op.fontSize * 96 / 72), number(width), op.colour.name(),
                               escaped(piece.toString()));
            }
            continue;
        }
        if (op.colour != linesColour) {
            flush();
            linesColour = op.colour;
        }
        switch (op.kind) {
        case SurfaceOp::Segment:
            if (!penDown || pen != op.p1)
                lines += QLatin1Char('M') + point(op.p1);
            lines += QLatin1Char('L') + point(op.p2);
            pen = op.p2;
            penDown = true;
            break;
        case SurfaceOp::Point:
            // A line of no length with square ends is one pixel's square.
            lines += QLatin1Char('M') + point(op.p1) + QStringLiteral("h0");
            pen = op.p1;
            penDown = true;
            break;
        case SurfaceOp::Arc:
            lines += arcData(op);
            penDown = false;
            break;
        case SurfaceOp::Text:
            break;
        }
    }
    flush();
    return QStringLiteral("<g fill=\"none\" stroke-width=\"1\" stroke-linecap=\"square\" "
                          "font-family=\"%1\">%2</g>")
        .arg(escaped(QStringLiteral("'%1', sans-serif").arg(Surface::fontFamily())), svg);
}

QString FlowchartSvg::trace(
    const FlowchartLayout &layout, const QRectF &bounds, const QColor &colour)
{
    const QPainterPath area = traceArea(layout, bounds);
    QString svg = QStringLiteral("<clipPath id=\"%1\"><path clip-rule=\"%2\" d=\"%3\"/></clipPath>")
                      .arg(TraceAreaId,
                          area.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                             : QStringLiteral("nonzero"),
                          pathData(area));
    svg += QStringLiteral("<g clip-path=\"url(#%1)\" fill=\"none\" stroke=\"%2\" "
                          "stroke-linecap=\"square\" stroke-linejoin=\"miter\">")
               .arg(TraceAreaId, colour.name());
    const auto element = [&svg](const QString &id, int width, const QPainterPath &path) {
        svg += QStringLiteral(
            "<path id=\"%1\" visibility=\"hidden\" stroke-width=\"%2\" d=\"%3\"/>")
                   .arg(id, QString::number(width), pathData(path));
    };
    // An outline twice as wide as an arrow: its inner half is clipped away.
    element(startId(), 2 * PathTrace::Width, layout.startOutline());
    for (int block = 0; block < BlockCount; ++block) {
        element(blockId(block), 2 * PathTrace::Width, polygonPath(layout.blockOutline(block)));
        element(arrowId(block), PathTrace::Width,
            linesPath(layout.arrow(arrowInto(block).from, block)));
    }
    return svg + QStringLiteral("</g>");
}
