// The browser backend: the page's canvas, keyboard, pointer-locked mouse and Web Audio, on
// emscripten's HTML5 API and a few functions of the page (index.html). Its clock steps to each
// frame's due time and, when it is not behind, yields to the browser until the next display frame
// (as the worker drawing the canvas sees it).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Platform.h"

namespace plat::web {

// options: the player's mouse and pad speeds (the page plays the sound and chooses the size);
// scripted: the game's input comes from a script, so a click on the picture does not take the mouse.
std::unique_ptr<Backend> CreateWebBackend(const GameShape& shape, const DisplayOptions& options,
                                          bool scripted);

// The page's Stop and Pause buttons, for the run in progress (nothing when none is).
void StopRun();
void HoldRun(bool held);

// Shows an 800 x 600 RGB565 picture on the page's canvas (the harness's last frame).
void ShowFrame(const uint16_t* pixels, int width, int height);

}  // namespace plat::web
