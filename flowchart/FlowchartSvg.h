#pragma once

#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QString>

class QPainterPath;
class Surface;
struct FlowchartLayout;

// The flowchart as SVG elements for a web page, in the editor's pixels: the
// surface's lines, arcs and words as the editor draws them, and over them a
// trace of every block and every arrow, each hidden until a player shows it
// by its id.
class FlowchartSvg {
public:
    // The trace's elements: the «Начало» terminator, each block's outline
    // and the one arrow into each block.
    static QString startId();
    static QString blockId(int block);
    static QString arrowId(int block);

    // The primitives of the surface from the op given on, in the order
    // drawn. A text is escaped and held to the width it was measured at, so
    // that in any browser's font the words stay on the lines they were
    // wrapped onto; a tab leaves the blank the editor leaves.
    static QString drawing(const Surface &surface, qsizetype from = 0);
    // Content shown only inside the area, as a block's words inside its
    // outline; id names the clipping, once on the page.
    static QString clipped(const QString &content, const QString &id, const QPolygonF &area);
    // The trace within bounds, as the editor traces a path: outlines and
    // arrows in the colour given, clipped to the outside of the shapes.
    static QString trace(const FlowchartLayout &layout, const QRectF &bounds, const QColor &colour);

    // A path's outline as SVG path data.
    static QString pathData(const QPainterPath &path);
};
