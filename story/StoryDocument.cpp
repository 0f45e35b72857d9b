#include "story/StoryDocument.h"

void StoryDocument::eraseTexts()
{
    for (QString &text : BlockText)
        text = QString();
}

void StoryDocument::erasePicturePaths()
{
    for (auto &path : PicturePath)
        path = QString();
}
