#include "printing/StoryPageLayout.h"

#include "flowchart/FlowchartLayout.h"

#include <algorithm>

StoryPageLayout StoryPageLayout::compute(double printableWidth, double titleWidth,
    QSizeF frame0Size, double drawingHeightPixels, double flowchartBottomPixels)
{
    StoryPageLayout page;
    // Centred only to the whole centimetre, as the page has always been.
    page.titleLeft = roundHalfEven((printableWidth - titleWidth) / 2);
    page.drawing = QRectF(1.5, 4, DrawingWidth, pixelsToCm(drawingHeightPixels));

    // Every picture takes frame 0's proportions, whatever its own are.
    const double height
        = frame0Size.width() > 0 ? PictureWidth * frame0Size.height() / frame0Size.width() : 0.0;
    // The wide flowchart of a large window reaches below 15 cm: its end would
    // vanish under the pictures, so they move down just below it.
    const double picturesTop
        = std::max(15.0, page.drawing.top() + pixelsToCm(flowchartBottomPixels) + 0.5);
    for (int k = 0; k < FrameCount; ++k)
        page.pictures[k]
            = QRectF(1.5 + k * (PictureWidth + PictureGap), picturesTop, PictureWidth, height);
    return page;
}
