#include "story/StoryDocument.h"

void StoryDocument::eraseTexts()
{
    for (QString &text : blockTexts)
        text = QString();
}

void StoryDocument::erasePicturePaths()
{
    for (auto &path : picturePaths)
        path = QString();
}
