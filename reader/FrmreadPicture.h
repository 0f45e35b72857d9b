#pragma once

#include <QImage>
#include <QWidget>

// The reading window's picture control: no border, and a picture stretched
// to fill it. The picture is scaled for the device it is painted on, so a
// printed page gets the picture's own detail rather than the screen's.
class FrmreadPicture : public QWidget
{
    Q_OBJECT

public:
    explicit FrmreadPicture(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    void clearPicture() { setPicture(QImage()); }
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
    QImage m_scaled;
};
