// SDL scancodes -> DirectInput scan codes, the numbering the game's keyboard wrapper reads.
#pragma once

#include <cstdint>

namespace plat::sdl {

// The DirectInput code of an SDL scancode, or 0 when the key has none.
uint8_t DikFromScancode(int scancode);

// Fills the 256-byte DirectInput snapshot (bit 7 = down) from SDL's keyboard state array of
// numKeys entries, indexed by SDL scancode.
void MapKeyboardState(const uint8_t* sdlState, int numKeys, uint8_t out[256]);

}  // namespace plat::sdl
