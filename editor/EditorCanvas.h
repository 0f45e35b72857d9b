#pragma once

#include <QImage>
#include <QWidget>

class Surface;

// The editor's client area. It shows the retained drawing from a cached
// image, so covering and uncovering the window never needs a redraw.
class EditorCanvas : public QWidget
{
    Q_OBJECT

public:
    EditorCanvas(const Surface &surface, QWidget *parent = nullptr);

    // The drawing as the screen shows it, at one pixel per editor unit.
    QImage render(qreal devicePixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Surface &m_surface;
    mutable QImage m_cache;
    mutable quint64 m_cachedRevision = ~quint64(0);
};
