#include "printing/StoryPageLayout.h"

#include "flowchart/FlowchartLayout.h"

StoryPageLayout StoryPageLayout::compute(double printableWidth, double titleWidth,
                                         QSizeF frame0Size, double drawingHeightPixels)
{
    StoryPageLayout page;
    // Centred only to the whole centimetre, as the page has always been.
    page.titleLeft = roundHalfEven((printableWidth - titleWidth) / 2);
    page.drawing = QRectF(1.5, 4, DrawingWidth, pixelsToCm(drawingHeightPixels));

    // Every picture takes frame 0's proportions, whatever its own are.
    const double height = frame0Size.width() > 0
        ? PictureWidth * frame0Size.height() / frame0Size.width()
        : 0.0;
    for (int k = 0; k < PictureCount; ++k)
        page.pictures[k] = QRectF(1.5 + k * (PictureWidth + PictureGap), 15, PictureWidth, height);
    return page;
}
