// Key numbers -> DirectInput scan codes, the numbering the game's keyboard wrapper reads.
//
// A key's number is its USB HID usage id on the keyboard page, which SDL's scancodes equal; the
// few media and browser keys beyond that page take SDL's own numbers for them (258 to 282). Each
// key also has the name the browser gives it as KeyboardEvent.code, one name per key.
#pragma once

#include <cstdint>
#include <string_view>

namespace plat {

// Key numbers run below this.
inline constexpr int kKeyNumberCount = 512;

// The DirectInput code of a key number, or 0 when the key has none.
uint8_t DikFromKeyNumber(int key);

// The DirectInput code of a KeyboardEvent.code name ("KeyA", "Space", "ControlLeft"), or 0.
uint8_t DikFromCodeName(std::string_view code);

// Fills the 256-byte DirectInput snapshot (bit 7 = down) from a state array of numKeys entries
// indexed by key number (nonzero = down), as SDL_GetKeyboardState gives it.
void MapKeyboardState(const uint8_t* state, int numKeys, uint8_t out[256]);

}  // namespace plat
