#pragma once

#include <QWidget>

class ClickLabel;
class QTimer;

// The title window: the title picture for at most ten seconds, then the
// editor. A click on the picture hands over at once.
class FrmTytle : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 501;
    static constexpr int ClientHeight = 370;
    static constexpr int TimerInterval = 10000;

    explicit FrmTytle(QWidget *parent = nullptr);

    ClickLabel *Image1() const { return m_image; }
    QTimer *Timer1() const { return m_timer; }

    // What can happen to the window.
    void Image1_Click();
    void Timer1_Timer();

signals:
    // The window has unloaded itself: the editor takes over.
    void handedOver();
    // The desktop closed the window before the handover: the program ends.
    void closedBeforeHandover();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void handover();

    ClickLabel *m_image = nullptr;
    QTimer *m_timer = nullptr;
    bool m_gone = false;
};
