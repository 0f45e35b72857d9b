#include "reading/ReadingWalk.h"

ReadingWalk::Result ReadingWalk::walk(const BlockTexts &texts, Answer first, Answer second)
{
    ReadingWalk reading(texts);
    reading.answerFirst(first);
    reading.answerSecond(second);
    return reading.result();
}

int ReadingWalk::middleChapter(Answer first)
{
    return exitTarget(FirstQuestion, first == Answer::Yes);
}

int ReadingWalk::secondQuestion(Answer first)
{
    return FlowchartBlocks[middleChapter(first)].next;
}

int ReadingWalk::finalChapter(Answer first, Answer second)
{
    return exitTarget(secondQuestion(first), second == Answer::Yes);
}

int ReadingWalk::frame(Answer first, Answer second)
{
    return FlowchartBlocks[finalChapter(first, second)].frame;
}

QString ReadingWalk::appendChapter(const QString &story, const QString &chapter)
{
    return story + chapter + QLatin1Char(' ');
}

ReadingWalk::ReadingWalk(const BlockTexts &texts)
    : m_texts(texts)
    , m_story(appendChapter(QString(), texts[OpeningChapter]))
{
}

QString ReadingWalk::firstQuestionText() const
{
    return m_texts[FirstQuestion];
}

void ReadingWalk::answerFirst(Answer answer)
{
    if (m_first)
        return;
    m_first = answer;
    m_story = appendChapter(m_story, m_texts[middleChapter(answer)]);
}

QString ReadingWalk::secondQuestionText() const
{
    return m_first ? m_texts[secondQuestion(*m_first)] : QString();
}

void ReadingWalk::answerSecond(Answer answer)
{
    if (!m_first || m_second)
        return;
    m_second = answer;
    m_story = appendChapter(m_story, m_texts[finalChapter(*m_first, answer)]);
}

int ReadingWalk::frame() const
{
    return m_first && m_second ? frame(*m_first, *m_second) : -1;
}

ReadingWalk::Result ReadingWalk::result() const
{
    Result result;
    result.story = m_story;
    if (m_first) {
        result.middleChapter = middleChapter(*m_first);
        result.secondQuestion = secondQuestion(*m_first);
    }
    if (m_first && m_second) {
        result.finalChapter = finalChapter(*m_first, *m_second);
        result.frame = frame(*m_first, *m_second);
    }
    return result;
}

FlowchartPath ReadingWalk::path() const
{
    QList<bool> exits;
    for (const std::optional<Answer> &answer : { m_first, m_second }) {
        if (answer)
            exits << (*answer == Answer::Yes);
    }
    return FlowchartPath::taking(exits);
}
