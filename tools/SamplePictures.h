#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The illustrations of the sample stories: the four endings of each.
namespace SamplePictures {

struct Picture
{
    QString fileName; // .bmp or .jpg
    QImage image;
};

QList<Picture> fox();
QList<Picture> zebra();

} // namespace SamplePictures
