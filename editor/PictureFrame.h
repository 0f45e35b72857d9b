#pragma once

#include "editor/ClickLabel.h"

#include <QImage>

// One of the editor's picture frames: a bordered box that shows its picture
// stretched to fill it, and keeps the picture for reading and printing.
class PictureFrame : public ClickLabel
{
    Q_OBJECT

public:
    explicit PictureFrame(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }

private:
    QImage m_picture;
};
