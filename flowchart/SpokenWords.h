#pragma once

#include "flowchart/FlowchartPath.h"

#include <QString>

// The words for the ear: what a screen reader says of the parts of the story,
// numbered as a pupil counts them (the opening, questions 1 to 3, chapters 1
// and 2, endings 1 to 4, the pictures of the endings), and of the path read.
QString blockName(int block);
QString frameName(int frame);
QString pictureDialogName(int frame); // its own title says only «Открыть»

// The block's text as the pupil wrote it, or a word saying there is none,
// then where the block sits in the flowchart, and whether the last reading
// passed it.
QString blockDescription(
    int block, const QString &text, const FlowchartPath &readPath = FlowchartPath());
// The last reading's way through the flowchart, block by block with the
// exit taken at each question; empty for no reading.
QString readPathDescription(const FlowchartPath &path);
// Where the block sits: what leads to it and where its exits go.
QString blockPlace(int block);

// The chosen picture's file name, or a word saying there is none or that it
// is not shown: a story opened may name a picture that cannot be read.
QString frameDescription(const QString &picturePath, bool shown);
// The ending's picture as the reading window shows it: by its file name, or
// said to be missing when none is shown.
QString endingPictureDescription(const QString &picturePath, bool shown);
// The file name of a picture path from any computer; empty for no path.
QString pictureFileName(const QString &picturePath);

// A sentence of its own, ended as a sentence, for joining spoken texts.
QString spokenSentence(const QString &text);
