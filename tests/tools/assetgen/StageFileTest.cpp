#include <gtest/gtest.h>

#include <array>
#include <set>

#include "game/StageFile.h"
#include "tools/assetgen/DataFiles.h"

using namespace assettest;

namespace {

constexpr int kGold = 4;
using Stage = stagefile::Codes;

std::vector<Stage> Stages(const std::vector<uint8_t>& file) {
    std::vector<Stage> stages;
    for (int32_t n = 1; stagefile::RecordOffset(n) + stagefile::kRecordBytes <= int64_t(file.size()); ++n)
        stages.push_back(stagefile::ReadStage(file, n));
    return stages;
}

bool Breakable(int32_t code) {
    return code >= 0 && code <= 6 && code != kGold;
}

// Every breakable block connects to the open space around the field without crossing gold.
bool Reachable(const Stage& s) {
    std::array<bool, kColumns * kRows> seen{};
    std::vector<int> todo;
    for (int k = 0; k < kColumns * kRows; ++k) {
        int r = k / kColumns, c = k % kColumns;
        if ((r == 0 || c == 0 || r == kRows - 1 || c == kColumns - 1) && s[k] != kGold)
            todo.push_back(k), seen[k] = true;
    }
    while (!todo.empty()) {
        int k = todo.back();
        todo.pop_back();
        int r = k / kColumns, c = k % kColumns;
        for (auto [dr, dc] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            int nr = r + dr, nc = c + dc, n = nr * kColumns + nc;
            if (nr < 0 || nc < 0 || nr >= kRows || nc >= kColumns || seen[n] || s[n] == kGold) continue;
            seen[n] = true;
            todo.push_back(n);
        }
    }
    for (int k = 0; k < kColumns * kRows; ++k)
        if (Breakable(s[k]) && !seen[k]) return false;
    return true;
}

}  // namespace

TEST(StageFile, HeaderCountsTheRecordsThatFollow) {
    std::vector<uint8_t> file = ReadBytes(DataPath("Map.dat"));
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(I32(file, 0), 0);
    EXPECT_EQ(I32(file, 4), 0);
    int32_t count = I32(file, 8);
    EXPECT_GE(count, 12);
    EXPECT_EQ(file.size(), 12 + 1200 * size_t(count));
}

TEST(StageFile, StagesUseEveryKindAndOnlyKnownCodes) {
    std::set<int32_t> used;
    for (const Stage& s : Stages(ReadBytes(DataPath("Map.dat"))))
        for (int32_t code : s) {
            EXPECT_TRUE(code == -1 || (code >= 0 && code <= 6)) << code;
            used.insert(code);
        }
    for (int32_t kind = 0; kind <= 6; ++kind) EXPECT_TRUE(used.count(kind)) << "kind " << kind;
}

TEST(StageFile, EveryStageCanBeCleared) {
    std::vector<Stage> stages = Stages(ReadBytes(DataPath("Map.dat")));
    ASSERT_GE(stages.size(), 12u);
    for (size_t i = 0; i < stages.size(); ++i) {
        int breakable = 0;
        for (int32_t code : stages[i]) breakable += Breakable(code) ? 1 : 0;
        EXPECT_GT(breakable, 0) << "stage " << i + 1;
        EXPECT_TRUE(Reachable(stages[i])) << "stage " << i + 1;
    }
}

TEST(StageFile, LaterStagesAskForMoreHits) {
    // Silver takes two hits; the last stages must be tougher than the first ones.
    auto hits = [](const Stage& s) {
        int n = 0;
        for (int32_t code : s) n += code == 5 ? 2 : Breakable(code) ? 1 : 0;
        return n;
    };
    std::vector<Stage> stages = Stages(ReadBytes(DataPath("Map.dat")));
    ASSERT_GE(stages.size(), 12u);
    EXPECT_LT(hits(stages.front()), hits(stages.back()));
    EXPECT_EQ(std::count(stages.front().begin(), stages.front().end(), kGold), 0);
}
