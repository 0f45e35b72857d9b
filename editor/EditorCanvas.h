#pragma once

#include <QWidget>

class Surface;

// The editor's client area. It paints the retained drawing straight from its
// record whenever the window is exposed: replaying it costs about as much as
// copying a full-window image would, and saves keeping one.
class EditorCanvas : public QWidget {
    Q_OBJECT

public:
    EditorCanvas(const Surface &surface, QWidget *parent = nullptr);

    // The drawing as the screen shows it, at one pixel per editor unit.
    QImage render(qreal devicePixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Surface &m_surface;
};
