#include "widgets/PictureBox.h"

#include "pictures/PictureLoader.h"

#include <QPainter>

#include <cmath>

void PictureBox::setPicture(const QImage &picture)
{
    // Scaled again for each device, always in full colour.
    m_picture = PictureLoader::fullColour(picture);
    m_scaled = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect box = contentsRect();
    if (m_picture.isNull() || box.isEmpty())
        return;
    // The box's size in the device's own pixels: the screen's, or the
    // printer's when the window is printed.
    const QRectF onDevice = painter.deviceTransform().mapRect(QRectF(box));
    QSize wanted(std::max(1, int(std::ceil(onDevice.width()))),
        std::max(1, int(std::ceil(onDevice.height()))));
    // Never enlarge beyond the picture's own pixels: the device scales up.
    wanted = wanted.boundedTo(m_picture.size());
    if (m_scaled.size() != wanted) {
        m_scaled = wanted == m_picture.size()
            ? m_picture
            : m_picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(box), m_scaled);
}
