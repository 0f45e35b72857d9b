#pragma once

#include "flowchart/DrawBlockTexts.h"
#include "flowchart/FlowchartLayout.h"

#include <QString>

#include <array>
#include <vector>

class Surface;

// The block texts as the last pass wrapped them. A redraw normalises and
// wraps only the texts that changed since, or all of them when the layout,
// the font or the visible width changed; the rest are written as they were.
class WrappedTexts {
public:
    // Does what drawBlockTexts does. visibleRight is the rightmost x that the
    // drawing can show: words that run past their outline are kept up to it.
    void draw(bool showBlockTexts, std::array<QString, BlockCount> &blockTexts,
        const FlowchartLayout &layout, Surface &surface, double visibleRight);

private:
    struct Lines {
        std::array<double, MaxTextLines> startX {};
        std::array<double, MaxTextLines> endX {};
        double top = 0;
        double fontSize = 0;
        double visibleRight = 0;
        bool operator==(const Lines &) const = default;
    };

    struct Block {
        // Shares the stored text as it was normalised: any change to the
        // stored text since would have given it data of its own.
        QString text;
        Lines lines;
        bool wrapped = false;
        std::vector<WrappedWord> words;
    };

    std::array<Block, BlockCount> m_blocks;
};
