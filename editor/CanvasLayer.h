#pragma once

#include <QWidget>

// A transparent layer over the editor's client area, for marks drawn above
// the flowchart that its retained drawing, its redraws and its printing
// never hold. It keeps the area's size and lets the mouse through.
class CanvasLayer : public QWidget {
    Q_OBJECT

public:
    CanvasLayer(QWidget *canvas, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
