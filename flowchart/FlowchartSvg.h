#pragma once

#include <QColor>
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

    // Every primitive of the surface, in the order drawn. A text is escaped
    // and held to the width it was measured at, so that in any browser's
    // font the words stay on the lines they were wrapped onto.
    static QString drawing(const Surface &surface);
    // The trace within bounds, as the editor traces a path: outlines and
    // arrows in the colour given, clipped to the outside of the shapes.
    static QString trace(const FlowchartLayout &layout, const QRectF &bounds, const QColor &colour);

    // A path's outline as SVG path data.
    static QString pathData(const QPainterPath &path);
};
