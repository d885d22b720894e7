#pragma once
#include <memory>
#include <string>

#include "platform/Platform.h"
// Null when no window system can be reached (SDL would fall back to a driver without a screen,
// unless SDL_VIDEODRIVER asks for one); problem, when given, then says so in one line.
std::unique_ptr<plat::Backend> CreateSdlBackend(const plat::DisplayOptions& options,
                                                const plat::GameShape& shape, std::string* problem = nullptr);
