#include <algorithm>
#include <functional>

#include "audio/WavWriter.h"
#include "game/GameFixture.h"
#include "gfx/BmpWriter.h"

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

// A colour in the middle of its 5-6-5 cell, so that packing it (or averaging equal copies of it)
// gives exactly (r << 11) | (g << 5) | b.
uint32_t CellColour(uint32_t r, uint32_t g, uint32_t b) {
    return ((r << 3 | 4) << 16) | ((g << 2 | 2) << 8) | (b << 3 | 4);
}

// A 24-bit picture, stored bottom row first as usual; colour(x, y) counts y from the top.
void WritePicture(const char* file, int w, int h, const std::function<uint32_t(int, int)>& colour) {
    bmptest::Bmp bmp;
    bmp.width = w;
    bmp.height = h;
    bmp.pixels = bmptest::PackRows(w, h, 24, [&](int x, int row) { return colour(x, h - 1 - row); });
    bmptest::WriteFile(file, bmp.Bytes());
}

// The slot's pixel (c, r).
uint16_t SlotPixelAt(CDisplay& display, SlotIndex slot, int c, int r) {
    SlotDC dc;
    display.GetSlotDC(slot, &dc);
    const uint16_t p = dc.surface ? dc.surface->Row(r)[c] : 0;
    display.ReleaseSlotDC(slot, &dc);
    return p;
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

TEST(LoadAssets, StripsAreCutFrameByFrameAndEffectsComeFromTheirFiles) {
    FakeBackend backend;
    WorkDir dir;
    std::filesystem::create_directories("sprite");
    std::filesystem::create_directories("sound");
    // Horizontal strips: x in red and blue, y in green, so each pixel tells where it came from.
    const auto where = [](int x, int y) {
        return CellColour(static_cast<uint32_t>(x & 31), static_cast<uint32_t>(y),
                          static_cast<uint32_t>(x >> 5));
    };
    const auto whereSlot = [](int x, int y) {
        return static_cast<uint16_t>((x & 31) << 11 | y << 5 | x >> 5);
    };
    struct Strip {
        const char* file;
        int first, count, w, h;
    };
    const Strip strips[] = {{"sprite/Ball.bmp", 10, 8, 11, 11},
                            {"sprite/Number.bmp", 26, 10, 16, 15},
                            {"sprite/Alphabet.bmp", 36, 26, 16, 15},
                            {"sprite/BulletExt.bmp", 65, 7, 13, 13},
                            {"sprite/Particle.bmp", 72, 5, 6, 6}};
    for (const Strip& s : strips) WritePicture(s.file, s.w * s.count, s.h, where);
    // The paddle strip: each row one colour, y in red and blue.
    const auto band = [](int, int y) {
        return CellColour(static_cast<uint32_t>(y & 31), 1, static_cast<uint32_t>(y >> 5));
    };
    const auto bandSlot = [](int y) { return static_cast<uint16_t>((y & 31) << 11 | 1 << 5 | y >> 5); };
    WritePicture("sprite/VantlerAni.bmp", 76, 100, band);
    WritePicture("sprite/Block.bmp", 30, 12, where);  // a block of another size than the grid's
    // Effect k's file holds 40 + k frames (the device's own rate and layout: kept as they are).
    const char* const sounds[] = {"Vantler", "Block",  "Bounce", "Metal",    "Start",
                                  "UseItem", "Giggle", "Rocket", "NotEnough"};
    for (int k = 0; k < kSoundSlots; ++k) {
        const wavtest::Bytes samples(static_cast<size_t>(4 * (40 + k)), 1);
        wavtest::WriteFile(std::string("sound/") + sounds[k] + ".wav",
                           wavtest::Wav(wavtest::Format(1, 2, 44100, 16), samples));
    }

    auto game = std::make_unique<CGame>();
    game->LoadAssets();
    CDisplay& d = game->m_display;
    for (const Strip& s : strips) {
        for (int k = 0; k < s.count; ++k) {
            const int slot = s.first + k;
            for (int r = 0; r < s.h; ++r) {
                for (int c = 0; c < s.w; ++c) {
                    ASSERT_EQ(SlotPixelAt(d, slot, c, r), whereSlot(s.w * k + c, r))
                        << "slot " << slot << " at " << c << "," << r;
                }
            }
        }
    }
    for (int k = 0; k < 10; ++k) {
        for (int r = 0; r < 10; ++r) {
            const uint16_t expected = bandSlot(10 * k + r);
            for (int c : {0, 75})
                ASSERT_EQ(SlotPixelAt(d, k, c, r), expected) << "frame " << k << " row " << r;
            for (int c : {0, 67, 135}) {
                ASSERT_EQ(SlotPixelAt(d, 78 + k, c, r), expected) << "wide frame " << k << " row " << r;
            }
        }
    }
    EXPECT_EQ(d.GetSlotWidth(18), 30);
    EXPECT_EQ(d.GetSlotHeight(18), 12);
    EXPECT_EQ(SlotPixelAt(d, 18, 29, 11), whereSlot(29, 11));
    EXPECT_EQ(d.GetSlotWidth(19), 0);  // its file is missing: a picture of no size makes no slot

    for (int k = 0; k < kSoundSlots; ++k) {
        game->m_sound.Play(k);
        ASSERT_FALSE(backend.played.empty());
        const auto& buffer = backend.buffers.at(static_cast<size_t>(backend.played.back() - 1));
        EXPECT_EQ(buffer.size(), static_cast<size_t>(2 * (40 + k))) << "effect " << k;
    }
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
