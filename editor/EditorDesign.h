#pragma once

// The editor window's designed client area and its place on the screen, in
// pixels.
namespace EditorDesign {
inline constexpr int ClientWidth = 663;
inline constexpr int ClientHeight = 554;
inline constexpr int ClientLeft = 23;
inline constexpr int ClientTop = 144;
} // namespace EditorDesign
