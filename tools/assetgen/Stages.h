// The stages: read from their text (stagetool's syntax), checked, and written as the stage file.
#pragma once

#include <string>

#include "game/StageFile.h"

namespace assetgen {

using Stage = stagefile::Codes;

// True when every block a ball must clear can be reached: gold never walls a breakable block in,
// and there is at least one such block.
bool IsClearable(const Stage& stage);

// Map.dat at path from the stage text at textPath; false, having said why on stderr, when the text
// cannot be read or a stage cannot be cleared.
bool WriteStageFile(const std::string& textPath, const std::string& path);

}  // namespace assetgen
