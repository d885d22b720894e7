// What the window shows while the game is paused: the last frame dimmed, "PAUSED" in the middle.
#pragma once

#include <cstdint>

namespace plat {

inline constexpr int kPauseGlyphW = 5;  // the label's letters are 5 x 7 blocks
inline constexpr int kPauseGlyphH = 7;

// Size of one block of the label for a picture picW wide (8 pixels at 800).
int PauseBlockSize(int picW);

// Dims every pixel of the RGB565 picture to half brightness and draws the label over it, white on
// a black plate, centred.
void DrawPausedOverlay(uint16_t* pixels, int picW, int picH);

}  // namespace plat
