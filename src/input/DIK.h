// DirectInput scan codes of the keys the game reads.
#pragma once

#include "platform/devices/GameKeys.h"

#define PLINKWELL_DIK(name, code) DIK_##name = (code),
enum DikCode : int { PLINKWELL_GAME_KEYS(PLINKWELL_DIK) };
#undef PLINKWELL_DIK
