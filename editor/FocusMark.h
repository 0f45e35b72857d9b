#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// A clear frame around the block or picture frame that has the keyboard
// focus. It lies over the editor's client area as a transparent layer of its
// own, so the retained drawing, its redraws and its printing never hold it.
// It shows only while the keyboard is in use; a mouse user never sees it.
class FocusMark : public QWidget {
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
