#pragma once

#include <QProxyStyle>

class QKeyEvent;

// The desktop's own style, except that the access letters of the menus are
// underlined only while Alt is held or the menus are worked by the keyboard,
// as on Windows; a mouse user sees the captions exactly as they are. Enter
// on a focused push button presses it in every window, also as on Windows.
class KeyboardStyle : public QProxyStyle {
    Q_OBJECT

public:
    KeyboardStyle();

    // Makes it the application's style; call once the application exists.
    static void install();

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr, QStyleHintReturn *returnData = nullptr) const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool pressesButton(QObject *watched, const QKeyEvent &key);
    bool menusByKeyboard() const;
    void setAltDown(bool down);

    bool m_altDown = false;
    // From an Alt press until the mouse is used: menus opened then are being
    // worked by the keyboard.
    bool m_altUsed = false;
};
