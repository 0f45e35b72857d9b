#pragma once

#include <QWidget>

class ClickLabel;
class QTimer;

// The title window: the title picture for at most ten seconds, then the
// editor. A click on the picture hands over at once.
class TitleWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int ClientWidth = 501;
    static constexpr int ClientHeight = 370;
    static constexpr int TimerInterval = 10000;

    explicit TitleWindow(QWidget *parent = nullptr);

    ClickLabel *picture() const { return m_image; }
    QTimer *timer() const { return m_timer; }

    // What can happen to the window.
    void pictureClicked();
    void timedOut();

signals:
    // The window has unloaded itself: the editor takes over.
    void handedOver();
    // The desktop closed the window before the handover: the program ends.
    void closedBeforeHandover();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void handover();
    void dress();

    ClickLabel *m_image = nullptr;
    QTimer *m_timer = nullptr;
    bool m_gone = false;
    bool m_dressed = false;
};
