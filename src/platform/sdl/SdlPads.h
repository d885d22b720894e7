// Gamepads through SDL's game controller API: SDL's own controller database, then the player's
// mappings file, then SDL_GAMECONTROLLERCONFIG (each later one wins); pads plugged in and out at
// any time; their events turned into the game's input by PadInput.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/devices/PadInput.h"

namespace plat::sdl {

class SdlPads {
public:
    SdlPads(const GameShape& shape, const DisplayOptions& options);
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    enum class Change { None, Added, Lost };
    // Takes a controller event into the pad input; says when a pad came or went.
    Change Translate(const SDL_Event& ev);
    PadInput& Input() { return m_input; }

private:
    void AddMappings(const std::string& path, bool verbose);

    bool m_open = false;
    std::vector<SDL_GameController*> m_pads;
    PadInput m_input;
};

}  // namespace plat::sdl
