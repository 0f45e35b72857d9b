#pragma once

#include "widgets/ClickLabel.h"

#include <QImage>

// A picture stretched to fill the box inside its frame: the editor's picture
// frames and the reading window's picture. The picture is scaled for the
// device it is painted on, so a printed page gets the picture's own detail
// rather than the screen's. It keeps the picture for reading and printing.
class PictureBox : public ClickLabel {
    Q_OBJECT

public:
    using ClickLabel::ClickLabel;

    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    QImage m_scaled;
};
