#pragma once

#include "flowchart/FlowchartPath.h"

#include "editor/CanvasLayer.h"

struct FlowchartLayout;

// The way the last reading went, traced over the editor's flowchart: the
// blocks visited and the arrows followed, in lines far thicker than the
// flowchart's so that they show by their width alone, in the palette's link
// colour rather than the captions' red. On a layer of its own, like the
// focus mark.
class ReadPathMark : public CanvasLayer {
    Q_OBJECT

public:
    static constexpr int Width = PathTrace::Width;

    // Traces on the layout the editor last drew by.
    ReadPathMark(QWidget *canvas, const FlowchartLayout &layout);

    void setPath(const FlowchartPath &path);
    const FlowchartPath &path() const { return m_path; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const FlowchartLayout &m_layout;
    FlowchartPath m_path;
};
