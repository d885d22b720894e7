// Stages as readable text and as the game's stage file, Map.dat.
//
// Text: every stage is up to 20 rows of 15 cells, top row first; rows left out at the bottom are
// empty. Cells: '.' empty, '#' plain, 'R' red, 'G' green, 'B' blue, '$' gold, 'S' silver,
// 'X' cracked silver. A blank line or a header line (one that starts with "stage", followed by
// anything, such as a title) ends a stage.
//
// Map.dat: read and written by the game's own stage file module (game/StageFile.h); cell codes 0 plain,
// 1 red, 2 green, 3 blue, 4 gold, 5 silver, 6 cracked silver; anything else is an empty cell.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/StageFile.h"
#include "platform/base/Result.h"

namespace stagetool {

inline constexpr int32_t kEmptyCode = -1;  // what we write for an empty cell

using Stage = stagefile::Codes;

// The cell character of a code; '.' for every code that is not a block.
char CellChar(int32_t code);

// Reads stage text. A failure says what is wrong as "<source>:<line>: <problem>", or as
// "<source>: <problem>" when the problem is the text as a whole.
plat::Result<std::vector<Stage>> ParseStages(std::string_view text, std::string_view source);

// Writes every stage in full (20 rows) under a "stage N" header, a blank line between stages.
std::string FormatStages(const std::vector<Stage>& stages);

// The stages as the game reads them from these bytes: the header's count, each record at its
// place, and zero (plain blocks) wherever the file ends early. A count below 1 plays stage 1
// only; a count beyond the records the file holds would play plain-block stages, so only the
// records present are returned (at least one). Each such oddity is described in *notes.
std::vector<Stage> DecodeMapDat(const std::vector<uint8_t>& bytes, std::vector<std::string>* notes);

// 1-based numbers of the stages with nothing to break: the game moves on from them at once.
std::vector<int> StagesWithNothingToBreak(const std::vector<Stage>& stages);

}  // namespace stagetool
