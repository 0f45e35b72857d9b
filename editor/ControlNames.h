#pragma once

#include <QString>

// What a screen reader calls the parts of the story, numbered as a pupil
// counts them: the opening, questions 1 to 3, chapters 1 and 2, endings 1 to
// 4, and the pictures of the four endings.
QString blockName(int block);
QString frameName(int frame);

// The block's text as the pupil wrote it, or a word saying there is none.
QString blockDescription(const QString &text);
// The chosen picture's file name, or a word saying there is none.
QString frameDescription(const QString &picturePath);
