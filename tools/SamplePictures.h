#pragma once

#include <QImage>
#include <QList>
#include <QString>

// The illustrations of the sample stories: the four endings of «лиса», then
// the four of «зебра».
namespace SamplePictures {

struct Picture {
    QString fileName; // .bmp or .jpg
    QImage image;
};

QList<Picture> all();

} // namespace SamplePictures
