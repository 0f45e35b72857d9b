#include "flowchart/WrappedTexts.h"

#include "flowchart/Surface.h"

namespace {

bool sameText(const QString &a, const QString &b)
{
    if (a.isEmpty() && b.isEmpty())
        return true;
    return a.isSharedWith(b) && a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

void WrappedTexts::draw(bool showBlockTexts, std::array<QString, BlockCount> &blockTexts,
    const FlowchartLayout &layout, Surface &surface, double visibleRight)
{
    if (!showBlockTexts)
        return;
    const MeasureText measure = [&surface](const QString &word) { return surface.textWidth(word); };
    for (int b = 0; b < BlockCount; ++b) {
        Block &block = m_blocks[b];
        surface.setCurrentPos(QPointF(layout.lineStartX[b][1], layout.textTop[b]));
        if (!sameText(blockTexts[b], block.text)) {
            blockTexts[b] = normaliseLineBreaks(std::move(blockTexts[b]));
            block.text = blockTexts[b];
            block.wrapped = false;
        }
        const Lines lines { layout.lineStartX[b], layout.lineEndX[b], layout.textTop[b],
            surface.fontSize(), visibleRight };
        if (!block.wrapped || block.lines != lines) {
            block.words = wrapBlockWords(block.text, layout.lineStartX[b].data(),
                layout.lineEndX[b].data(), MaxTextLines, layout.textTop[b], measure, visibleRight);
            block.lines = lines;
            block.wrapped = true;
        }
        for (const WrappedWord &word : block.words) {
            surface.setCurrentPos(word.placed.at);
            surface.writeMeasured(word.placed.text, word.width);
        }
    }
}

// A pass with nothing kept from before: every text wrapped afresh.
void drawBlockTexts(bool showBlockTexts, std::array<QString, 10> &blockTexts,
    const FlowchartLayout &layout, Surface &surface)
{
    WrappedTexts().draw(showBlockTexts, blockTexts, layout, surface, FarBeyondAnyScreen);
}
