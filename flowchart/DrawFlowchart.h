#pragma once

#include <QColor>

class Surface;
struct FlowchartLayout;

// The red the editor writes the exits' captions in.
inline constexpr QColor EditorExitColour { 255, 0, 0 };

// Clears the surface, lays the flowchart out for the client size and draws
// its outline and captions. Leaves the font at 8 points and the colour black.
// The caller places the labels and frames from the filled layout.
void drawFlowchart(Surface &surface, FlowchartLayout &layout, int scaleWidth, int scaleHeight,
    const QColor &exitColour = EditorExitColour);
