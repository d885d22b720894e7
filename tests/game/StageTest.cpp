#include <climits>

#include "game/GameFixture.h"
#include "game/StageFile.h"

namespace {

using namespace playtest;

class StageTest : public GameTest {
protected:
    WorkDir dir;
};

TEST_F(StageTest, CodesBecomeKindsAndEveryCellIsPlaced) {
    std::vector<int32_t> codes = Filled(-1);
    const int32_t listed[] = {0, 1, 2, 3, 4, 5, 6, 7, 255, -1, 1000, INT32_MIN};
    for (int i = 0; i < 12; ++i) codes[i] = listed[i];
    codes[299] = 4;
    WriteFile("Map.dat", MapBytes(9, {codes}));
    for (GameObject& cell : game->m_cells) cell.sprite = 18;  // every cell is rewritten, empty ones too

    EXPECT_EQ(game->LoadStage(1), 1);
    const int8_t kinds[] = {18, 19, 20, 21, 22, 23, 24, -1, -1, -1, -1, -1};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(game->m_cells[i].sprite, kinds[i]) << "code " << listed[i];
    for (int k = 12; k < 299; ++k) EXPECT_EQ(game->m_cells[k].sprite, -1) << k;
    EXPECT_EQ(game->m_cells[299].sprite, 22);
    EXPECT_EQ(game->m_nStageCount, 9);
    EXPECT_EQ(Cell(0, 0).x, 100);
    EXPECT_EQ(Cell(0, 0).y, 55);
    EXPECT_EQ(Cell(14, 0).x, 660);
    EXPECT_EQ(Cell(3, 2).x, 220);
    EXPECT_EQ(Cell(3, 2).y, 85);
    EXPECT_EQ(Cell(14, 19).y, 340);
}

TEST_F(StageTest, RecordsAreChosenByPosition) {
    WriteFile("Map.dat", MapBytes(3, {Filled(1), Filled(2), Filled(3)}));
    game->LoadStage(2);
    EXPECT_EQ(Cell(7, 7).sprite, 20);
    game->LoadStage(3);
    EXPECT_EQ(Cell(0, 19).sprite, 21);
}

TEST_F(StageTest, ShortRecordGivesBlocksPastTheCut) {
    std::string bytes = MapBytes(1, {std::vector<int32_t>(10, 3)});
    bytes += std::string("\x05\x00", 2);  // half of an eleventh code: the rest reads as zero bytes
    WriteFile("Map.dat", bytes);
    game->LoadStage(1);
    for (int k = 0; k < 10; ++k) EXPECT_EQ(game->m_cells[k].sprite, 21);
    EXPECT_EQ(game->m_cells[10].sprite, 23);
    for (int k = 11; k < kCells; ++k) EXPECT_EQ(game->m_cells[k].sprite, 18) << k;
}

TEST_F(StageTest, StagePastTheEndIsAllBlocks) {
    WriteFile("Map.dat", MapBytes(5, {Filled(-1)}));
    EXPECT_EQ(game->LoadStage(4), 1);
    for (const GameObject& cell : game->m_cells) EXPECT_EQ(cell.sprite, 18);
    EXPECT_EQ(game->m_nStageCount, 5);
}

TEST_F(StageTest, LargestStageNumberReadsPastTheEnd) {
    WriteFile("Map.dat", MapBytes(INT32_MAX, {Filled(-1)}));
    EXPECT_EQ(game->LoadStage(INT32_MAX), 1);
    for (const GameObject& cell : game->m_cells) EXPECT_EQ(cell.sprite, 18);
    EXPECT_EQ(game->m_nStageCount, INT32_MAX);
}

TEST_F(StageTest, ShortHeaderGivesCountZero) {
    WriteFile("Map.dat", std::string("\x01\x02\x03\x04\x05\x06", 6));
    game->m_nStageCount = 4;
    game->LoadStage(1);
    EXPECT_EQ(game->m_nStageCount, 0);
    EXPECT_EQ(Cell(5, 5).sprite, 18);
}

TEST_F(StageTest, MissingFileShowsItsMessageAndKeepsTheField) {
    game->m_nStageCount = 6;
    Cell(2, 2) = GameObject{};
    Cell(2, 2).sprite = 23;
    EXPECT_EQ(game->LoadStage(1), 0);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0], "File open error in Loading Stage");
    EXPECT_EQ(Cell(2, 2).sprite, 23);
    EXPECT_EQ(Cell(2, 2).x, 0);
    EXPECT_EQ(game->m_nStageCount, 6);
}

TEST_F(StageTest, DirectoryInPlaceOfTheFileCannotBeOpened) {
    std::filesystem::create_directory("Map.dat");
    game->m_nStageCount = 6;
    Cell(2, 2).sprite = 23;
    EXPECT_EQ(game->LoadStage(1), 0);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"File open error in Loading Stage"});
    EXPECT_EQ(Cell(2, 2).sprite, 23);
    EXPECT_EQ(game->m_nStageCount, 6);
}

// The stages visited by successive stage starts from a new game.
std::vector<int32_t> StageRun(CGame& game, int starts) {
    game.NewGame();
    std::vector<int32_t> seen{game.m_nStage};
    for (int i = 1; i < starts; ++i) {
        game.NextStage();
        seen.push_back(game.m_nStage);
    }
    return seen;
}

TEST_F(StageTest, StagesWrapAfterTheCount) {
    WriteFile("Map.dat", MapBytes(3, {Filled(1), Filled(2), Filled(3)}));
    EXPECT_EQ(StageRun(*game, 7), (std::vector<int32_t>{1, 2, 3, 1, 2, 3, 1}));
    EXPECT_EQ(Cell(0, 0).sprite, 19);
    WriteFile("Map.dat", MapBytes(1, {Filled(2)}));
    EXPECT_EQ(StageRun(*game, 3), (std::vector<int32_t>{1, 1, 1}));
    WriteFile("Map.dat", MapBytes(0, {Filled(2)}));
    EXPECT_EQ(StageRun(*game, 3), (std::vector<int32_t>{1, 1, 1}));
    WriteFile("Map.dat", MapBytes(-5, {Filled(2)}));
    EXPECT_EQ(StageRun(*game, 3), (std::vector<int32_t>{1, 1, 1}));
}

TEST_F(StageTest, WrapAtTheLargestCount) {
    WriteFile("Map.dat", MapBytes(INT32_MAX, {Filled(0)}));
    game->LoadStage(1);
    game->m_nStage = INT32_MAX;
    game->NextStage();
    EXPECT_EQ(game->m_nStage, 1);
}

TEST_F(StageTest, NewGameWithoutStageFileStillStartsStageOne) {
    game->NewGame();
    EXPECT_EQ(game->m_nStage, 1);
    EXPECT_EQ(game->m_bStageBanner, 1);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"File open error in Loading Stage"});
    EXPECT_EQ(game->IsStageCleared(), 0);  // the never-loaded field cannot be cleared
}

// The stage file's bytes both ways, as the game, the tools and the tests share them: stages come back
// as written, and what the bytes lack reads as code 0.
TEST(StageFileBytes, StagesRoundTripAndMissingBytesReadAsZero) {
    stagefile::Codes a, b;
    a.fill(-1);
    a[0] = 6;
    b.fill(3);
    b[299] = INT32_MIN;
    const std::vector<uint8_t> bytes = stagefile::Encode({a, b});
    ASSERT_EQ(bytes.size(), 12u + 2 * 1200u);
    EXPECT_EQ(stagefile::StageCount(bytes), 2);
    EXPECT_EQ(stagefile::ReadStage(bytes, 1), a);
    EXPECT_EQ(stagefile::ReadStage(bytes, 2), b);
    EXPECT_EQ(stagefile::ReadStage(bytes, 3), stagefile::Codes{});  // past the end
    EXPECT_EQ(stagefile::ReadStage(bytes, 0), stagefile::Codes{});  // before the first record

    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 12 + 1200 + 4 + 1);
    const stagefile::Codes partial = stagefile::ReadStage(cut, 2);
    EXPECT_EQ(partial[0], 3);
    EXPECT_EQ(partial[1], 3);  // its low byte is all that is left
    EXPECT_EQ(partial[2], 0);
    EXPECT_EQ(partial[299], 0);
}

}  // namespace
