#include "widgets/WindowDesign.h"

#include "flowchart/Surface.h"
#include "pictures/CursorHotSpot.h"

#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>

QFont designFont(double points)
{
    QFont font(Surface::fontFamily());
    font.setPointSizeF(points);
    return font;
}

void setDesign(QWidget &window, const QString &name, const QString &caption, QSize clientSize)
{
    window.setObjectName(name);
    window.setWindowTitle(caption);
    window.setFixedSize(clientSize);
}

void fillBackground(QWidget &widget, const QColor &colour)
{
    widget.setAutoFillBackground(true);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
}

QCursor handCursor()
{
    struct Hand {
        QImage image;
        std::optional<QPoint> hotSpot;
    };
    // Qt's icon reader reads the picture but drops the hot spot. Told not to
    // guess, Qt goes straight to it instead of loading every image plugin
    // that comes before it.
    static const Hand hand = [] {
        QFile file(QStringLiteral(":/widgets/assets/hand.cur"));
        QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ICO");
        reader.setAutoDetectImageFormat(false);
        return Hand { reader.read(), cursorHotSpot(bytes) };
    }();
    if (hand.image.isNull() || !hand.hotSpot)
        return QCursor(Qt::PointingHandCursor);
    return QCursor(QPixmap::fromImage(hand.image), hand.hotSpot->x(), hand.hotSpot->y());
}

QIcon programIcon()
{
    // Read once, as ICO: an icon made from the file's name would first look
    // through the icon-engine plugins, and read the file again for each window.
    static const QList<QImage> pictures = [] {
        QList<QImage> read;
        QImageReader reader(QStringLiteral(":/widgets/assets/tropinets.ico"), "ICO");
        reader.setAutoDetectImageFormat(false);
        do {
            const QImage picture = reader.read();
            if (!picture.isNull())
                read.append(picture);
        } while (reader.jumpToNextImage());
        return read;
    }();
    QIcon icon;
    for (const QImage &picture : pictures)
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}
