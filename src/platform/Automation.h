// Services of the platform core for the application's run options: input taken frame by frame
// (live or from a script), input recording, an early quit, and keeping the last presented picture.
// None of these change the game; with none switched on, every call goes straight to the backend.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/InputScript.h"

namespace plat {

// From now on the keyboard is read once per frame, at BeforeTick, and every read during the frame
// returns that snapshot. With a script, the keyboard and the mouse come from it instead of the
// backend. The player must outlive its use; pass nullptr for live input.
void UseFrameInput(InputPlayer* script);
// Records what the game reads from now on; nullptr stops recording.
void RecordInput(InputRecorder* recorder);
// Makes the next PeekMessage or GetMessage deliver the quit message.
void PostQuitMessage();
// Keeps a copy of every presented picture (only the last one is held).
void KeepLastFrame(bool keep);
// The last presented picture, 800 x 600 RGB565; empty when none was presented or kept.
const std::vector<uint16_t>& LastFrame();
// Everything above switched off, the frame number and the sound log cleared, no backend.
void ResetAutomation();

}  // namespace plat
