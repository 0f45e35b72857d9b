#include "editor/PictureFrame.h"

#include "flowchart/FlowchartLayout.h"

#include <QPixmap>

PictureFrame::PictureFrame(QWidget *parent)
    : ClickLabel(parent)
{
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFixedSize(FrameWidth, FrameHeight);
    setScaledContents(true);
}

void PictureFrame::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (picture.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(picture));
}
