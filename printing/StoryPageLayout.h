#pragma once

#include "story/StoryDocument.h"

#include <QRectF>
#include <QSizeF>

#include <array>

// Where everything lies on the story page printed from the editor, in
// centimetres from the top-left corner of the printable area.
struct StoryPageLayout {
    static constexpr double PictureWidth = 4.0;
    static constexpr double PictureGap = 0.5;
    static constexpr double DrawingWidth = 17.0;

    double titleLeft = 0;
    double titleTop = 2;
    QPointF authorTopLeft { 10, 3 };
    QRectF drawing;
    std::array<QRectF, FrameCount> pictures {};

    // printableWidth and titleWidth in centimetres; the frame size, the
    // drawing height and the flowchart's lowest line in editor pixels, which
    // are 96 to the inch.
    static StoryPageLayout compute(double printableWidth, double titleWidth, QSizeF frame0Size,
        double drawingHeightPixels, double flowchartBottomPixels = 0);

    static double pixelsToCm(double pixels) { return pixels * 2.54 / 96.0; }
};
