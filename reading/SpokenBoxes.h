#pragma once

#include "reading/ReadingWalk.h"

#include <QString>

// What reading aloud says of a reading's boxes, in the reading window and on
// the story's web page alike: as a box opens, the chapter just reached, then
// the box's own words; by the box's «Повторить», its words, then that
// chapter. Each part is said as a sentence.
struct SpokenBox {
    QString opening;
    QString again;
};

// A question's box, after the chapter whose arrow leads to it.
SpokenBox spokenQuestion(const BlockTexts &texts, int question);
// After an ending: the title box, then the name box, heard as questions.
SpokenBox spokenTitlePrompt(const BlockTexts &texts, int ending);
SpokenBox spokenReaderPrompt(const BlockTexts &texts, int ending);
// The story read to an ending, said once the reading is done.
QString spokenStory(const BlockTexts &texts, int ending);
