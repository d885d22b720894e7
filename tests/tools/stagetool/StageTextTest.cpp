// Stage text and the stage file: reading, writing and the game's own reading of odd files.
#include <gtest/gtest.h>

#include "stagetool/StageText.h"

using namespace stagetool;

namespace {

std::vector<Stage> Parsed(std::string_view text) {
    const plat::Result<std::vector<Stage>> stages = ParseStages(text, "stages.txt");
    EXPECT_TRUE(stages.Ok()) << stages.Error();
    return stages.Ok() ? *stages : std::vector<Stage>{};
}

std::string Refused(std::string_view text) {
    const plat::Result<std::vector<Stage>> stages = ParseStages(text, "stages.txt");
    EXPECT_FALSE(stages.Ok());
    return stages.Ok() ? std::string() : stages.Error();
}

Stage Empty() {
    Stage s;
    s.fill(kEmptyCode);
    return s;
}

int32_t LittleEndianAt(const std::vector<uint8_t>& b, size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                   uint32_t(b[at + 3]) << 24);
}

}  // namespace

TEST(StageText, EveryCellCharacterHasItsCode) {
    const std::vector<Stage> stages = Parsed(".#RGB$SX.......\n..............#\n");
    ASSERT_EQ(stages.size(), 1u);
    Stage want = Empty();
    for (int k = 1; k <= 7; ++k) want[k] = k - 1;
    want[29] = 0;  // row 1, column 14
    EXPECT_EQ(stages[0], want);
}

TEST(StageText, BlankLinesAndHeaderLinesEndAStage) {
    const std::string text =
        "stage 1: two rows\r\n"
        "RRRRRRRRRRRRRRR\r\n"
        "GGGGGGGGGGGGGGG  \r\n"
        "\n\n\n"
        "$$$$$$$$$$$$$$$\n"
        "Stage 3 after no blank line\n"
        "SSSSSSSSSSSSSSS\n";
    const std::vector<Stage> stages = Parsed(text);
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_EQ(stages[0][0], 1);
    EXPECT_EQ(stages[0][15], 2);
    EXPECT_EQ(stages[0][30], kEmptyCode);
    EXPECT_EQ(stages[1][14], 4);
    EXPECT_EQ(stages[1][15], kEmptyCode);
    EXPECT_EQ(stages[2][0], 5);
}

TEST(StageText, ProblemsNameTheirLine) {
    EXPECT_EQ(Refused("stage 1\n...............\n..............\n"),
              "stages.txt:3: 14 characters; a row has 15");
    EXPECT_EQ(Refused("......Q........\n"), "stages.txt:1: 'Q' is not a cell (use . # R G B $ S X)");
    std::string tooLong;
    for (int r = 0; r < 21; ++r) tooLong += "...............\n";
    EXPECT_EQ(Refused(tooLong), "stages.txt:21: a stage has at most 20 rows");
    EXPECT_EQ(Refused("stage 1\n\n"), "stages.txt: no stage found");
}

TEST(StageText, FormattingWritesAllTwentyRowsAndOnlyBlocksShow) {
    Stage a = Empty(), b = Empty();
    a[0] = 6;
    a[14] = 7;     // not a block
    a[15] = 1000;  // not a block
    a[299] = 4;
    b[1] = 0;
    const std::string text = FormatStages({a, b});
    std::string want = "stage 1\nX..............\n";
    for (int r = 1; r < 19; ++r) want += "...............\n";
    want += "..............$\n\nstage 2\n.#.............\n";
    for (int r = 1; r < 20; ++r) want += "...............\n";
    EXPECT_EQ(text, want);
    EXPECT_EQ(Parsed(text).size(), 2u);
}

TEST(StageFile, EncodingIsTheHeaderThenOneRecordPerStage) {
    Stage a = Empty();
    a[0] = 3;
    a[299] = 5;
    const std::vector<uint8_t> bytes = stagefile::Encode({a, Empty()});
    ASSERT_EQ(bytes.size(), 12u + 2 * 1200u);
    EXPECT_EQ(LittleEndianAt(bytes, 0), 0);
    EXPECT_EQ(LittleEndianAt(bytes, 4), 0);
    EXPECT_EQ(LittleEndianAt(bytes, 8), 2);
    EXPECT_EQ(LittleEndianAt(bytes, 12), 3);
    EXPECT_EQ(LittleEndianAt(bytes, 12 + 299 * 4), 5);
    EXPECT_EQ(LittleEndianAt(bytes, 12 + 1200), -1);
    std::vector<std::string> notes;
    EXPECT_EQ(DecodeMapDat(bytes, &notes), (std::vector<Stage>{a, Empty()}));
    EXPECT_TRUE(notes.empty());
}

TEST(StageFile, DecodingShowsWhatTheGameWouldPlay) {
    Stage a = Empty();
    std::vector<uint8_t> bytes = stagefile::Encode({a, a});
    bytes.resize(12 + 1200 + 8);  // the second record keeps two cells
    std::vector<std::string> notes;
    std::vector<Stage> stages = DecodeMapDat(bytes, &notes);
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[1][1], kEmptyCode);
    EXPECT_EQ(stages[1][2], 0);  // the rest reads as zero: plain blocks
    EXPECT_EQ(stages[1][299], 0);
    EXPECT_EQ(notes.size(), 1u);

    bytes = stagefile::Encode({a, a});
    bytes[8] = 5;  // the header claims five stages; the file holds two
    notes.clear();
    EXPECT_EQ(DecodeMapDat(bytes, &notes).size(), 2u);
    EXPECT_EQ(notes.size(), 1u);

    bytes[8] = 0;  // a count of 0 plays stage 1 only
    notes.clear();
    EXPECT_EQ(DecodeMapDat(bytes, &notes).size(), 1u);
    EXPECT_EQ(notes.size(), 1u);
}

TEST(StageFile, StagesWithNothingToBreakAreNamed) {
    Stage gold = Empty(), silver = Empty(), none = Empty();
    gold[0] = 4;
    silver[0] = 4;
    silver[1] = 5;
    EXPECT_EQ(StagesWithNothingToBreak({gold, silver, none}), (std::vector<int>{1, 3}));
}
