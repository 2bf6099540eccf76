#pragma once
// The width of the window tabs: 140 pixels each while they fit (144 with their gaps), else
// an even share of the strip, never narrower than 24 pixels.

namespace vornel {

inline constexpr int kWindowTabWidth = 140;
inline constexpr int kMinimumWindowTabWidth = 24;

int WindowTabWidth(int tabCount, int stripWidth);

}  // namespace vornel
