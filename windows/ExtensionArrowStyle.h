#pragma once

#include <QProxyStyle>

// The platform's own style, but for the arrow a menu bar shows when its menus
// do not fit. Every menu bar asks for that arrow as it is made, shown or not,
// and Qt's style reads it from PNG files without naming the format: guessing
// loads every image-format plugin with its libraries, which then stay for as
// long as the program runs. This reads the same files as PNG.
class ExtensionArrowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
};
