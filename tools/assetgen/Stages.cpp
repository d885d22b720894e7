#include "Stages.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "Bytes.h"
#include "StageText.h"

namespace assetgen {
namespace {

bool IsBreakable(int32_t code) {
    return IsBlock(KindOfCode(code)) && KindOfCode(code) != BlockGold;
}

// Open cells reachable from around the field; breakable blocks open up as they are reached.
std::array<bool, kColumns * kRows> Reach(const Stage& stage) {
    std::array<bool, kColumns * kRows> reached{};
    bool grew = true;
    while (grew) {
        grew = false;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                int k = r * kColumns + c;
                if (reached[k] || KindOfCode(stage[k]) == BlockGold) continue;
                bool edge = r == 0 || c == 0 || r == kRows - 1 || c == kColumns - 1;
                bool touches = (r > 0 && reached[k - kColumns]) || (r < kRows - 1 && reached[k + kColumns]) ||
                               (c > 0 && reached[k - 1]) || (c < kColumns - 1 && reached[k + 1]);
                if (edge || touches) reached[k] = grew = true;
            }
    }
    return reached;
}

}  // namespace

bool IsClearable(const Stage& stage) {
    auto reached = Reach(stage);
    int breakable = 0;
    for (size_t k = 0; k < stage.size(); ++k) {
        if (!IsBreakable(stage[k])) continue;
        ++breakable;
        if (!reached[k]) return false;
    }
    return breakable > 0;
}

bool WriteStageFile(const std::string& textPath, const std::string& path) {
    std::ifstream in(textPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "assetgen: cannot read %s\n", textPath.c_str());
        return false;
    }
    const std::string text(std::istreambuf_iterator<char>(in), {});
    const plat::Result<std::vector<Stage>> stages = stagetool::ParseStages(text, textPath);
    if (!stages) {
        std::fprintf(stderr, "assetgen: %s\n", stages.Error().c_str());
        return false;
    }
    for (size_t i = 0; i < stages->size(); ++i)
        if (!IsClearable((*stages)[i])) {
            std::fprintf(stderr, "assetgen: stage %zu cannot be cleared\n", i + 1);
            return false;
        }
    Bytes out;
    for (const uint8_t byte : stagefile::Encode(*stages)) out.U8(byte);
    return WriteFile(path, out);
}

}  // namespace assetgen
