#pragma once

#include "editor/CanvasLayer.h"

#include <QList>
#include <QPointer>

// A clear frame around the block or picture frame that has the keyboard
// focus, on a layer of its own over the editor's client area. It shows only
// while the keyboard is in use; a mouse user never sees it.
class FocusMark : public CanvasLayer {
    Q_OBJECT

public:
    static constexpr int Width = 2;

    FocusMark(QWidget *canvas, const QList<QWidget *> &targets);

    void setShown(bool shown);
    bool isShown() const { return m_shown; }

    // Where the mark is drawn now, in the client area's pixels; empty when
    // there is none.
    QRect markRect() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();

    QList<QWidget *> m_targets;
    bool m_shown = false;
    QRect m_painted;
};
