#pragma once

#include <QLabel>

#include <functional>

// A label that reports a left click: the block areas and picture frames.
// Made a button, it also takes the keyboard focus, answers Enter and Space
// as a click, and shows itself to assistive tools as a button that can be
// pressed.
class ClickLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The accessible description follows what the button stands for, so it
    // is asked for each time rather than kept.
    using Describe = std::function<QString()>;
    void makeButton(const QString &name, Describe describe = {});
    bool isButton() const { return m_button; }
    QString description() const;

    // A click without the mouse: the keyboard and assistive tools.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_button = false;
    Describe m_describe;
};
