#include "platform/sdl/SdlPads.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/base/Files.h"

namespace plat::sdl {
namespace {

// A mappings file is lines of text; anything near this is not one.
constexpr size_t kMaxMappings = size_t{4} << 20;

struct ButtonMap {
    SDL_GameControllerButton sdl;
    PadButton pad;
};
constexpr ButtonMap kButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, PadButton::South},
    {SDL_CONTROLLER_BUTTON_X, PadButton::West},
    {SDL_CONTROLLER_BUTTON_START, PadButton::Start},
    {SDL_CONTROLLER_BUTTON_BACK, PadButton::Back},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PadButton::LeftShoulder},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PadButton::RightShoulder},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadButton::DpadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadButton::DpadRight},
};

}  // namespace

SdlPads::SdlPads(const GameShape& shape, const DisplayOptions& options) : m_input(shape, options.padSpeed) {
    // Pads keep reporting while the window is in the background: the game is paused then and
    // reads nothing, and a button held through the switch is not lost.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    m_open = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!m_open) {
        if (options.verbose) std::fprintf(stderr, "plinkwell: no gamepads: %s\n", SDL_GetError());
        return;
    }
    if (!options.padMappings.empty() && Exists(options.padMappings)) {
        AddMappings(options.padMappings, options.verbose);
    }
    // SDL read the variable at start-up, before the file: read again, it wins.
    if (const char* mine = SDL_getenv("SDL_GAMECONTROLLERCONFIG")) {
        SDL_RWops* rw = SDL_RWFromConstMem(mine, static_cast<int>(SDL_strlen(mine)));
        if (rw) SDL_GameControllerAddMappingsFromRW(rw, 1);
    }
}

SdlPads::~SdlPads() {
    for (SDL_GameController* pad : m_pads) SDL_GameControllerClose(pad);
    if (m_open) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlPads::AddMappings(const std::string& path, bool verbose) {
    const Result<std::string> text = ReadStream(path, kMaxMappings);
    SDL_RWops* rw = text ? SDL_RWFromConstMem(text->data(), static_cast<int>(text->size())) : nullptr;
    const int added = rw ? SDL_GameControllerAddMappingsFromRW(rw, 1) : -1;
    if (!text) {
        std::fprintf(stderr, "plinkwell: cannot read gamepad mappings %s\n", text.Error().c_str());
    } else if (added < 0) {
        std::fprintf(stderr, "plinkwell: %s: %s\n", path.c_str(), SDL_GetError());
    } else if (verbose) {
        std::fprintf(stderr, "plinkwell: %d gamepad mappings from %s\n", added, path.c_str());
    }
}

SdlPads::Change SdlPads::Translate(const SDL_Event& ev) {
    switch (ev.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* pad = SDL_GameControllerOpen(ev.cdevice.which)) {
                m_pads.push_back(pad);
                return Change::Added;
            }
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (auto it = m_pads.begin(); it != m_pads.end(); ++it) {
                if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*it)) != ev.cdevice.which) continue;
                SDL_GameControllerClose(*it);
                m_pads.erase(it);
                m_input.Release();
                return Change::Lost;
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) m_input.Tilt(ev.caxis.value / 32767.0);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            for (const ButtonMap& b : kButtons) {
                if (b.sdl == ev.cbutton.button) {
                    m_input.Press(b.pad, ev.type == SDL_CONTROLLERBUTTONDOWN, ev.cbutton.timestamp);
                }
            }
            break;
        default:
            break;
    }
    return Change::None;
}

}  // namespace plat::sdl
