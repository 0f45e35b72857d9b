#include "reading/SpokenBoxes.h"

#include "flowchart/SpokenWords.h"
#include "reading/ReadingWords.h"

namespace {

QString joined(const QString &first, const QString &second)
{
    return (first + QLatin1Char(' ') + second).trimmed();
}

SpokenBox around(const QString &chapter, const QString &words)
{
    return { joined(chapter, words), joined(words, chapter) };
}

} // namespace

SpokenBox spokenQuestion(const BlockTexts &texts, int question)
{
    return around(
        spokenSentence(texts.at(arrowInto(question).from)), spokenSentence(texts.at(question)));
}

SpokenBox spokenTitlePrompt(const BlockTexts &texts, int ending)
{
    return around(spokenSentence(texts.at(ending)), spokenSentence(ReadingWords::TitleHeard));
}

SpokenBox spokenReaderPrompt(const BlockTexts &texts, int ending)
{
    // The ending was said with the title box, just before.
    const QString words = spokenSentence(ReadingWords::ReaderHeard);
    return { words, joined(words, spokenSentence(texts.at(ending))) };
}

QString spokenStory(const BlockTexts &texts, int ending)
{
    using Answer = ReadingWalk::Answer;
    for (const Answer first : { Answer::No, Answer::Yes }) {
        for (const Answer second : { Answer::No, Answer::Yes }) {
            const ReadingWalk::Result read = ReadingWalk::walk(texts, first, second);
            if (read.finalChapter == ending)
                return read.story.trimmed();
        }
    }
    return QString();
}
