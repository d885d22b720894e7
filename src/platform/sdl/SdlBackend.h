#pragma once
#include <memory>
#include <string>

#include "platform/Platform.h"
struct SdlOptions {
    bool windowed = false;  // a window instead of desktop full screen
    int scale = 0;  // integer scale of the 800x600 picture in a window (0 = pick the largest that fits)
    double mouseSpeed = 1.0;  // scales horizontal mouse motion before the game reads it
    bool mute = false;        // no audio device
    enum class Renderer { Auto, Software, Accelerated } renderer = Renderer::Auto;
    bool wholeFrames = false;  // present every frame whole instead of its changed regions
    bool verbose = false;      // start-up lines on stderr (which presentation path was taken, audio device)
};
// Null when no window system can be reached (SDL would fall back to a driver without a screen,
// unless SDL_VIDEODRIVER asks for one); problem, when given, then says so in one line.
std::unique_ptr<plat::Backend> CreateSdlBackend(const SdlOptions& options, std::string* problem = nullptr);
