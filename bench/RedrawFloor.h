#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

class Surface;

// The least a redraw can cost: one QPainter drawing the same lines, points,
// arcs and texts onto an image it keeps, with everything worked out before.
class RedrawFloor {
public:
    RedrawFloor(const Surface &drawing, QSize size);

    void draw();
    const QImage &image() const { return m_image; }

private:
    struct Line {
        QLineF line;
        QColor colour;
    };
    struct Arc {
        QRectF box;
        int start; // 1/16 degree
        int span;
        QColor colour;
    };
    struct Text {
        QPointF baseline;
        QString text;
        int font;
        QColor colour;
    };

    QImage m_image;
    QList<QFont> m_fonts;
    QList<Line> m_lines;
    QList<QPointF> m_points;
    QList<Arc> m_arcs;
    QList<Text> m_texts;
};
