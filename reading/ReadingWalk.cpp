#include "reading/ReadingWalk.h"

ReadingWalk::Result ReadingWalk::walk(const BlockTexts &texts, Answer first, Answer second)
{
    ReadingWalk reading(texts);
    reading.answerFirst(first);
    reading.answerSecond(second);
    return reading.result();
}

QString ReadingWalk::appendChapter(const QString &story, const QString &chapter)
{
    return story + chapter + QLatin1Char(' ');
}

ReadingWalk::ReadingWalk(const BlockTexts &texts)
    : m_texts(texts)
{
}

QString ReadingWalk::story() const
{
    QString story;
    for (const int block : path().blocks) {
        if (!isQuestionBlock(block))
            story = appendChapter(story, m_texts[block]);
    }
    return story;
}

QString ReadingWalk::firstQuestionText() const
{
    return m_texts[FirstQuestion];
}

void ReadingWalk::answerFirst(Answer answer)
{
    if (m_exits.isEmpty())
        m_exits << (answer == Answer::Yes);
}

QString ReadingWalk::secondQuestionText() const
{
    return m_exits.size() == 1 ? m_texts[path().blocks.constLast()] : QString();
}

void ReadingWalk::answerSecond(Answer answer)
{
    if (m_exits.size() == 1)
        m_exits << (answer == Answer::Yes);
}

int ReadingWalk::frame() const
{
    return result().frame;
}

ReadingWalk::Result ReadingWalk::result() const
{
    // The way so far: the opening chapter, a question, the chapter of that
    // branch, a second question and the ending.
    const QList<int> blocks = path().blocks;
    const int ending = blocks.value(4, -1);
    return { story(), blocks.value(2, -1), blocks.value(3, -1), ending,
        isBlock(ending) ? FlowchartBlocks[ending].frame : -1 };
}

FlowchartPath ReadingWalk::path() const
{
    return FlowchartPath::taking(m_exits);
}
