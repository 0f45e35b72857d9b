#pragma once

#include <QtGlobal>

// The title picture, made from assets/title.bmp while building: 32-bit
// pixels, 0xffRRGGBB, rows top down, ready to be shown as they lie.
extern const int titlePictureWidth;
extern const int titlePictureHeight;
extern const quint32 titlePicturePixels[];
