#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

#include <memory>

class QFontMetricsF;
class QPainter;

// One thing drawn on the editor's surface. Coordinates are pixels of the
// editor's client area; font sizes are points at 96 pixels per inch.
struct SurfaceOp {
    enum Kind { Segment, Point, Arc, Text };

    Kind kind = Segment;
    QPointF p1 {}; // segment start, point, arc centre, text top-left
    QPointF p2 {}; // segment end
    double radius = 0; // arc
    double a1 = 0; // arc start, radians, counter-clockwise from 3 o'clock
    double a2 = 0; // arc end
    QString text {};
    double fontSize = 0; // points
    double width = 0; // text: how far writing it moved the drawing position
    QColor colour {};

    bool operator==(const SurfaceOp &) const = default;
};

// The editor's retained drawing: the drawing state the flowchart code relies
// on (position, font size, colour) plus a record of every primitive, so the
// same drawing can be replayed on the screen, on a printer and in tests.
class Surface {
public:
    Surface();
    Surface(const Surface &other);
    ~Surface();

    void clear();
    void segment(QPointF from, QPointF to);
    void point(QPointF at);
    void arc(QPointF centre, double radius, double a1, double a2);
    void caption(QPointF topLeft, const QString &text);
    void write(const QString &text);
    // Writes a text already measured in the current font, as write() would
    // have measured it, and moves the drawing position on by that width.
    void writeMeasured(const QString &text, double width);
    double textWidth(const QString &text) const;

    void setFontSize(double points);
    double fontSize() const { return m_fontSize; }
    void setForeColor(const QColor &colour) { m_colour = colour; }
    QColor foreColor() const { return m_colour; }
    QPointF currentPos() const { return m_pos; }
    void setCurrentPos(QPointF pos) { m_pos = pos; }

    const QList<SurfaceOp> &ops() const { return m_ops; }
    // Bumped by every change, so a screen cache knows when to refresh.
    quint64 revision() const { return m_revision; }

    // Paints the record with one unit = one editor pixel. Fonts are scaled so
    // that text keeps its size under the painter's transform on any device.
    void replay(QPainter &painter) const;
    // The drawing on a white image of the given size in editor pixels.
    QImage render(QSize size, qreal devicePixelRatio = 1.0) const;

    static QFont fontFor(double points, double deviceDpi = 96.0);
    // How far below its top a text's baseline lies, in editor pixels.
    static double ascent(double points);
    static QString fontFamily();

private:
    // Records the op in the current colour.
    void add(SurfaceOp op);

    QList<SurfaceOp> m_ops;
    QPointF m_pos;
    double m_fontSize = 8.25;
    QColor m_colour = Qt::black;
    quint64 m_revision = 0;
    mutable std::unique_ptr<QFontMetricsF> m_metrics;
    mutable double m_metricsSize = 0;
};
