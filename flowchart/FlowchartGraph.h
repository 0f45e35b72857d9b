#pragma once

#include "story/StoryDocument.h"

#include <QString>

#include <array>
#include <optional>

// The flowchart's connections, written once: what each block is, where its
// arrows lead, and which frame illustrates an ending. The drawing, the reading
// walk, the path read, the words for the ear and the keyboard follow it.
enum class BlockRole { Chapter, Question, Ending };

// The places besides the blocks 0 to 9.
inline constexpr int StartTerminator = -1; // «Начало», which leads to FirstBlock
inline constexpr int EndTerminator = -2; // «Конец», where every ending leads
inline constexpr int NoPlace = -3;
inline constexpr int FirstBlock = 0;

struct FlowchartBlock {
    BlockRole role;
    int next; // where a chapter or an ending leads; NoPlace for a question
    int falseExit, trueExit; // a question's «Ложь» (left) and «Истина» (right) exits
    int frame; // an ending's picture frame; -1 otherwise
};

inline constexpr std::array<FlowchartBlock, BlockCount> FlowchartBlocks = { {
    { BlockRole::Chapter, 1, NoPlace, NoPlace, -1 },
    { BlockRole::Question, NoPlace, 2, 3, -1 },
    { BlockRole::Chapter, 4, NoPlace, NoPlace, -1 },
    { BlockRole::Chapter, 5, NoPlace, NoPlace, -1 },
    { BlockRole::Question, NoPlace, 6, 7, -1 },
    { BlockRole::Question, NoPlace, 8, 9, -1 },
    { BlockRole::Ending, EndTerminator, NoPlace, NoPlace, 0 },
    { BlockRole::Ending, EndTerminator, NoPlace, NoPlace, 1 },
    { BlockRole::Ending, EndTerminator, NoPlace, NoPlace, 2 },
    { BlockRole::Ending, EndTerminator, NoPlace, NoPlace, 3 },
} };

constexpr bool isBlock(int place)
{
    return place >= 0 && place < BlockCount;
}
constexpr bool isQuestionBlock(int block)
{
    return isBlock(block) && FlowchartBlocks[block].role == BlockRole::Question;
}
// Where a question's «Истина» exit leads, or its «Ложь» exit.
constexpr int exitTarget(int question, bool trueExit)
{
    return trueExit ? FlowchartBlocks.at(question).trueExit
                    : FlowchartBlocks.at(question).falseExit;
}

// The one arrow into a block: the place it comes from and, from a question,
// whether by the «Истина» exit. From NoPlace for no block.
struct ArrowInto {
    int from = NoPlace;
    std::optional<bool> trueExit;
};
constexpr ArrowInto arrowInto(int block)
{
    for (int from = 0; isBlock(block) && from < BlockCount; ++from) {
        const FlowchartBlock &leads = FlowchartBlocks[from];
        if (leads.next == block)
            return { from, std::nullopt };
        if (leads.falseExit == block || leads.trueExit == block)
            return { from, leads.trueExit == block };
    }
    return { block == FirstBlock ? StartTerminator : NoPlace, std::nullopt };
}

// The captions on the chart, the same words as heard.
inline QString terminatorCaption(int terminator)
{
    return terminator == StartTerminator ? QStringLiteral("Начало") : QStringLiteral("Конец");
}
inline QString exitCaption(bool trueExit)
{
    return trueExit ? QStringLiteral("Истина") : QStringLiteral("Ложь");
}
