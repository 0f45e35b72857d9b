#include "windows/WindowDesign.h"

#include "flowchart/Surface.h"
#include "windows/IconFile.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

QFont designFont(double points)
{
    QFont font(Surface::fontFamily());
    font.setPointSizeF(points);
    return font;
}

QCursor handCursor()
{
    // Qt's icon reader drops a cursor's hot spot, so the file is read here.
    static const IconFile file = IconFile::load(QStringLiteral(":/windows/assets/hand.cur"));
    if (!file.ok() || file.kind() != IconFile::Cursor)
        return QCursor(Qt::PointingHandCursor);
    const IconFile::Entry &hand = file.entries().constFirst();
    return QCursor(QPixmap::fromImage(hand.image), hand.hotX, hand.hotY);
}

QIcon programIcon()
{
    static const IconFile file = IconFile::load(QStringLiteral(":/windows/assets/tropinets.ico"));
    QIcon icon;
    for (const IconFile::Entry &entry : file.entries())
        icon.addPixmap(QPixmap::fromImage(entry.image));
    return icon;
}
