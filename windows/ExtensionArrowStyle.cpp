#include "windows/ExtensionArrowStyle.h"

#include <QApplication>
#include <QImageReader>
#include <QStyleOption>

QIcon ExtensionArrowStyle::standardIcon(
    StandardPixmap which, const QStyleOption *option, const QWidget *widget) const
{
    if (which != SP_ToolBarHorizontalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    const bool rightToLeft
        = option ? option->direction == Qt::RightToLeft : QApplication::isRightToLeft();
    // Where Qt keeps them; should a Qt keep them elsewhere, its style reads them.
    const QString path = rightToLeft
        ? QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-rtl-%1.png")
        : QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-%1.png");
    QIcon icon;
    for (const int size : { 8, 16, 32 }) {
        QImageReader reader(path.arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage arrow = reader.read();
        if (arrow.isNull())
            return QProxyStyle::standardIcon(which, option, widget);
        icon.addPixmap(QPixmap::fromImage(arrow));
    }
    return icon;
}
