#include <algorithm>

#include "game/GameFixture.h"

namespace {

using namespace playtest;

const char* const kSpriteFiles[] = {
    "sprite/VantlerAni.bmp", "sprite/Ball.bmp",        "sprite/Block.bmp",      "sprite/BlockRed.bmp",
    "sprite/BlockGreen.bmp", "sprite/BlockBlue.bmp",   "sprite/BlockGold.bmp",  "sprite/BlockSilver.bmp",
    "sprite/Broken.bmp",     "sprite/BG.bmp",          "sprite/Number.bmp",     "sprite/Alphabet.bmp",
    "sprite/ItemBar.bmp",    "sprite/Life.bmp",        "sprite/Bullet.bmp",     "sprite/BulletExt.bmp",
    "sprite/Particle.bmp",   "sprite/MurkVantler.bmp", "sprite/VantlerAni.bmp", "sprite/Intro.bmp",
};

bool IsBlockSlot(int slot) {
    return slot >= 18 && slot <= 24;
}

TEST(LoadAssets, MissingFilesStillGiveEveryFixedSizeSlot) {
    FakeBackend backend;
    WorkDir dir;
    auto game = std::make_unique<CGame>();
    EXPECT_EQ(game->LoadAssets(), 1);
    EXPECT_EQ(game->m_bIntro, 1);
    EXPECT_EQ(game->m_pLoadImage, nullptr);
    EXPECT_EQ(game->m_display.SlotCount(), 89);
    EXPECT_EQ(game->m_sound.SlotCount(), 9);
    for (int slot = 0; slot < kSpriteSlots; ++slot) {
        if (IsBlockSlot(slot)) continue;
        EXPECT_EQ(game->m_display.GetSlotWidth(slot), CatalogueSize(slot).w) << slot;
        EXPECT_EQ(game->m_display.GetSlotHeight(slot), CatalogueSize(slot).h) << slot;
    }
    // The image reader reports each file it cannot open, in the order the files are read.
    std::vector<std::string> expected;
    for (const char* file : kSpriteFiles) expected.push_back(std::string("-1, ") + file + " not found.");
    ASSERT_GE(backend.messages.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(backend.messages.begin(), backend.messages.begin() + 20), expected);
    game->Shutdown();
}

TEST(LoadAssets, WithoutADisplayNothingIsDrawnAndLoadingGoesOn) {
    FakeBackend backend;
    backend.videoOk = false;
    WorkDir dir;
    auto game = std::make_unique<CGame>();
    EXPECT_EQ(game->LoadAssets(), 1);
    EXPECT_EQ(game->m_bIntro, 1);
    EXPECT_EQ(game->m_display.GetSlotWidth(0), 0);
    EXPECT_EQ(game->m_sound.SlotCount(), 9);
    game->Shutdown();
}

TEST(LoadAssets, OurAssetsFillEverySlotAtItsCatalogueSize) {
    FakeBackend backend;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(PLINKWELL_BUILD_DATADIR);
    auto game = std::make_unique<CGame>();
    game->LoadAssets();
    std::filesystem::current_path(old);
    EXPECT_EQ(backend.messages, std::vector<std::string>{});
    for (int slot = 0; slot < kSpriteSlots; ++slot) {
        EXPECT_EQ(game->m_display.GetSlotWidth(slot), CatalogueSize(slot).w) << slot;
        EXPECT_EQ(game->m_display.GetSlotHeight(slot), CatalogueSize(slot).h) << slot;
        SlotDC dc;
        game->m_display.GetSlotDC(slot, &dc);
        ASSERT_NE(dc.surface, nullptr) << slot;
        const Surface& s = *dc.surface;
        const bool painted = std::any_of(s.pixels.get(), s.pixels.get() + s.width * s.height,
                                         [](uint16_t p) { return p != 0; });
        game->m_display.ReleaseSlotDC(slot, &dc);
        EXPECT_TRUE(painted) << "slot " << slot << " holds no picture";
    }
    for (int effect = 0; effect < kSoundSlots; ++effect)
        EXPECT_TRUE(game->m_sound.IsLoaded(effect)) << effect;
    game->Shutdown();
}

}  // namespace
