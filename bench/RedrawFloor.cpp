#include "RedrawFloor.h"

#include "flowchart/Surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

RedrawFloor::RedrawFloor(const Surface &drawing, QSize size)
    : m_image(size, QImage::Format_RGB32)
{
    QList<double> sizes;
    for (const SurfaceOp &op : drawing.ops()) {
        switch (op.kind) {
        case SurfaceOp::Segment:
            m_lines.append({ QLineF(op.p1, op.p2), op.colour });
            break;
        case SurfaceOp::Point:
            m_points.append(op.p1);
            break;
        case SurfaceOp::Arc: {
            double span = op.a2 - op.a1;
            if (span < 0)
                span += 2 * M_PI;
            const QRectF box(
                op.p1.x() - op.radius, op.p1.y() - op.radius, 2 * op.radius, 2 * op.radius);
            m_arcs.append({ box, qRound(qRadiansToDegrees(op.a1) * 16),
                qRound(qRadiansToDegrees(span) * 16), op.colour });
            break;
        }
        case SurfaceOp::Text: {
            qsizetype font = sizes.indexOf(op.fontSize);
            if (font < 0) {
                font = sizes.size();
                sizes.append(op.fontSize);
                m_fonts.append(Surface::fontFor(op.fontSize));
            }
            const double ascent = QFontMetricsF(m_fonts.at(font), &m_image).ascent();
            m_texts.append(
                { QPointF(op.p1.x(), op.p1.y() + ascent), op.text, int(font), op.colour });
            break;
        }
        }
    }
}

void RedrawFloor::draw()
{
    m_image.fill(Qt::white);
    QPainter painter(&m_image);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    for (const Line &line : std::as_const(m_lines)) {
        pen.setColor(line.colour);
        painter.setPen(pen);
        painter.drawLine(line.line);
    }
    pen.setColor(Qt::black);
    painter.setPen(pen);
    painter.drawPoints(m_points.constData(), int(m_points.size()));
    for (const Arc &arc : std::as_const(m_arcs)) {
        pen.setColor(arc.colour);
        painter.setPen(pen);
        painter.drawArc(arc.box, arc.start, arc.span);
    }
    int font = -1;
    for (const Text &text : std::as_const(m_texts)) {
        if (text.font != font) {
            font = text.font;
            painter.setFont(m_fonts.at(font));
        }
        pen.setColor(text.colour);
        painter.setPen(pen);
        painter.drawText(text.baseline, text.text);
    }
}
