#pragma once

#include <QImage>

// The program icon, an open book with a red cover, and the hand cursor.
namespace IconPictures {

// The book at 16, 32 or any larger size; the small sizes keep to the
// 16 Windows colours and whole pixels.
QImage book(int size);

// The 32 x 32 pointing hand; its fingertip is the hot spot.
QImage hand();
inline constexpr int HandHotX = 12;
inline constexpr int HandHotY = 1;

} // namespace IconPictures
