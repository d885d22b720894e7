// Where the player's own files live: the settings file and the controller mappings. The one place
// that knows each system's convention.
#pragma once

#include <string>

#include "platform/base/Result.h"

namespace plat {

// $XDG_CONFIG_HOME/plinkwell when that is an absolute path, else ~/.config/plinkwell
// (%APPDATA%\Plinkwell on Windows); empty when the environment names no home at all.
std::string SettingsFolder();

// Creates folder and whichever folders above it are missing; success when it is already there.
Status CreateFolder(const std::string& folder);

}  // namespace plat
