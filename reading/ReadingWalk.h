#pragma once

#include "flowchart/FlowchartGraph.h"
#include "flowchart/FlowchartPath.h"

#include <QString>

#include <array>

using BlockTexts = std::array<QString, BlockCount>;

// One reading of the story along one path of the flowchart: the opening
// chapter, a question, the chapter of that branch, a second question, and
// the ending with its picture frame. It reads the texts and never writes them.
class ReadingWalk {
public:
    enum class Answer { Yes, No };

    static constexpr int OpeningChapter = FirstBlock;
    static constexpr int FirstQuestion = FlowchartBlocks[OpeningChapter].next;

    // The whole walk for a pair of answers.
    struct Result {
        QString story; // what the story box holds at the end
        int middleChapter = -1;
        int secondQuestion = -1;
        int finalChapter = -1;
        int frame = -1;
    };
    static Result walk(const BlockTexts &texts, Answer first, Answer second);

    // The box's old content, the chapter exactly as stored, and one space.
    static QString appendChapter(const QString &story, const QString &chapter);

    // Step by step, for a window that asks between the steps: the story so
    // far starts as the opening chapter and grows with each answer.
    explicit ReadingWalk(const BlockTexts &texts);

    QString story() const;
    QString firstQuestionText() const;
    // Yes takes a question's true exit, No its false exit.
    void answerFirst(Answer answer);
    QString secondQuestionText() const; // after the first answer
    void answerSecond(Answer answer);
    int frame() const; // after both answers, -1 before
    Result result() const;
    FlowchartPath path() const; // so far

private:
    BlockTexts m_texts;
    QList<bool> m_exits; // taken so far, true for «Истина»
};
