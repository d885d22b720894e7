// The stage file: a 12-byte header and one record of 15 x 20 cell codes per stage.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace assetgen {

constexpr int kColumns = 15;
constexpr int kRows = 20;
constexpr int kEmptyCell = -1;
constexpr int kGoldCell = 4;

using Stage = std::array<int, kColumns * kRows>;

std::vector<Stage> MakeStages();

// True when every block a ball must clear can be reached: gold never walls a breakable block in,
// and there is at least one such block.
bool IsClearable(const Stage& stage);

bool WriteStageFile(const std::string& path, const std::vector<Stage>& stages);

}  // namespace assetgen
