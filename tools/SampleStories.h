#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The sample stories: ten block texts and four picture file names each.
namespace SampleStories {

struct Story
{
    QString fileName; // the story file; the picture list follows the naming rule
    QStringList texts;
    QStringList pictures;
};

QList<Story> all();

// Lines in Windows-1251, each ended by CR LF; empty when a text cannot be encoded.
QByteArray encode(const QStringList &lines);

} // namespace SampleStories
