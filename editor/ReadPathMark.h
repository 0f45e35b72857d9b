#pragma once

#include "reader/ReadingWalk.h"

#include <QWidget>

struct FlowchartLayout;

// The way the last reading went, traced over the editor's flowchart: the
// blocks visited and the arrows followed, in lines far thicker than the
// flowchart's so that they show by their width alone, in the palette's link
// colour rather than the captions' red. A layer of its own above the client
// area, like the focus mark: the retained drawing and its printing never
// hold it.
class ReadPathMark : public QWidget {
    Q_OBJECT

public:
    static constexpr int Width = 4;

    // Traces on the layout the editor last drew by.
    ReadPathMark(QWidget *canvas, const FlowchartLayout &layout);

    void setPath(const ReadingWalk::Path &path);
    const ReadingWalk::Path &path() const { return m_path; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const FlowchartLayout &m_layout;
    ReadingWalk::Path m_path;
};
