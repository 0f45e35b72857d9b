#pragma once

#include <QString>
#include <QStringList>

// The sample stories: ten block texts and four picture file names each.
namespace SampleStories {

struct Story {
    QString fileName; // the story file; its picture list is named after it
    QStringList texts;
    QStringList pictures;
};

QList<Story> all();

} // namespace SampleStories
