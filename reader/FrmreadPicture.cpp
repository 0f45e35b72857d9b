#include "reader/FrmreadPicture.h"

#include <QPainter>

#include <cmath>

FrmreadPicture::FrmreadPicture(QWidget *parent)
    : QWidget(parent)
{
}

void FrmreadPicture::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_scaled = QImage();
    update();
}

void FrmreadPicture::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    // The control's size in the device's own pixels: the screen's, or the
    // printer's when the window is printed.
    const QRectF onDevice = painter.deviceTransform().mapRect(QRectF(rect()));
    QSize wanted(std::max(1, int(std::ceil(onDevice.width()))),
                 std::max(1, int(std::ceil(onDevice.height()))));
    // Never enlarge beyond the picture's own pixels: the device scales up.
    wanted = wanted.boundedTo(m_picture.size().expandedTo(QSize(1, 1)));
    if (m_scaled.size() != wanted) {
        m_scaled = wanted == m_picture.size()
            ? m_picture
            : m_picture.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), m_scaled);
}
