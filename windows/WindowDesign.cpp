#include "windows/WindowDesign.h"

#include "flowchart/Surface.h"

#include <QCursor>

QFont designFont(double points)
{
    QFont font(Surface::fontFamily());
    font.setPointSizeF(points);
    return font;
}

QCursor handCursor()
{
    return QCursor(Qt::PointingHandCursor);
}
