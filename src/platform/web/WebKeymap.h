// KeyboardEvent.code names -> DirectInput scan codes, the numbering the game's keyboard wrapper reads.
#pragma once

#include <cstdint>
#include <string_view>

namespace plat::web {

// The DirectInput code of a key's KeyboardEvent.code, or 0 when the key has none.
uint8_t DikFromCode(std::string_view code);

// Whether the page keeps the key from the browser: every key the game may read, but not the
// function keys nor the browser's and media keys, so reloading and the developer tools still work.
bool IsGameKey(uint8_t dik);

}  // namespace plat::web
