#include <gtest/gtest.h>

#include <string>

#include "tools/assetgen/DataFiles.h"

using namespace assettest;

namespace {

struct ExpectedSprite {
    const char* name;
    int width, height, bits;
};

// The sizes the game cuts and stretches them to, and the format each one is written in.
const ExpectedSprite kSprites[] = {
    {"VantlerAni", 76, 100, 24}, {"Ball", 88, 11, 24},       {"Block", 40, 15, 8},
    {"BlockRed", 40, 15, 8},     {"BlockGreen", 40, 15, 8},  {"BlockBlue", 40, 15, 8},
    {"BlockGold", 40, 15, 8},    {"BlockSilver", 40, 15, 8}, {"Broken", 40, 15, 8},
    {"BG", 872, 600, 24},        {"Number", 160, 15, 8},     {"Alphabet", 416, 15, 8},
    {"ItemBar", 160, 23, 8},     {"Life", 30, 4, 8},         {"Bullet", 17, 38, 24},
    {"BulletExt", 91, 13, 24},   {"Particle", 30, 6, 8},     {"MurkVantler", 76, 10, 8},
    {"Intro", 800, 600, 24},
};

Bitmap Sprite(const std::string& name) {
    return ReadBitmap(ReadBytes(DataPath("sprite/" + name + ".bmp")));
}

bool Clear(const Bitmap& bmp, int x, int y) {
    return bmp.At(x, y).Packed() == 0;
}

int ClearCount(const Bitmap& bmp, int left, int top, int w, int h) {
    int n = 0;
    for (int y = top; y < top + h; ++y)
        for (int x = left; x < left + w; ++x) n += Clear(bmp, x, y) ? 1 : 0;
    return n;
}

double MeanBrightness(const Bitmap& bmp, int left, int top, int w, int h) {
    double sum = 0;
    for (int y = top; y < top + h; ++y)
        for (int x = left; x < left + w; ++x) sum += bmp.At(x, y).Brightness();
    return sum / (w * h);
}

}  // namespace

TEST(SpriteFiles, EachIsAPlainBmpOfTheSizeAndFormatTheGameLoads) {
    for (const ExpectedSprite& want : kSprites) {
        SCOPED_TRACE(want.name);
        std::vector<uint8_t> file = ReadBytes(DataPath(std::string("sprite/") + want.name + ".bmp"));
        ASSERT_FALSE(file.empty());
        Bitmap bmp = ReadBitmap(file);
        EXPECT_EQ(bmp.declaredSize, file.size());
        EXPECT_EQ(bmp.headerSize, 40u);
        EXPECT_EQ(bmp.width, want.width);
        EXPECT_EQ(bmp.height, want.height);  // positive: bottom-up rows
        EXPECT_EQ(bmp.planes, 1);
        EXPECT_EQ(bmp.bitsPerPixel, want.bits);
        EXPECT_EQ(bmp.compression, 0u);
        uint32_t tableBytes = want.bits == 8 ? bmp.colours * 4 : 0;
        EXPECT_EQ(bmp.pixelOffset, 54 + tableBytes);  // the game finds pixels right after the table
        if (want.bits == 8) {
            EXPECT_TRUE(bmp.colours >= 2 && bmp.colours <= 256);
        } else {
            EXPECT_EQ(bmp.colours, 0u);
        }
        uint32_t rowBytes = ((uint32_t(want.width) * want.bits + 31) / 32) * 4;
        EXPECT_EQ(file.size(), bmp.pixelOffset + rowBytes * want.height);
    }
}

TEST(SpriteFiles, OpaquePicturesHaveNoSeeThroughPixel) {
    for (const char* name : {"BG", "Intro", "ItemBar", "Block", "BlockRed", "BlockGreen", "BlockBlue",
                             "BlockGold", "BlockSilver"}) {
        SCOPED_TRACE(name);
        Bitmap bmp = Sprite(name);
        ASSERT_FALSE(bmp.pixels.empty());
        EXPECT_EQ(ClearCount(bmp, 0, 0, bmp.width, bmp.height), 0);
    }
}

TEST(SpriteFiles, BlocksHaveADarkOutlineThatStillShows) {
    Bitmap red = Sprite("BlockRed");
    ASSERT_FALSE(red.pixels.empty());
    for (auto [x, y] : {std::pair{0, 0}, {39, 14}, {20, 0}, {0, 7}}) {
        EXPECT_FALSE(Clear(red, x, y));
        EXPECT_LT(red.At(x, y).Brightness(), 120);
    }
    EXPECT_GT(red.At(2, 2).Brightness(), red.At(37, 12).Brightness());  // lit from the top left
}

TEST(SpriteFiles, BrokenBlockIsTheSilverOneWithAChippedCorner) {
    Bitmap silver = Sprite("BlockSilver"), broken = Sprite("Broken");
    ASSERT_FALSE(broken.pixels.empty());
    EXPECT_TRUE(Clear(broken, 39, 0));
    EXPECT_FALSE(Clear(broken, 0, 14));
    int differing = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 40; ++x)
            differing += broken.At(x, y).Packed() != silver.At(x, y).Packed() ? 1 : 0;
    EXPECT_GT(differing, 20);
    EXPECT_LT(differing, 150);
}

TEST(SpriteFiles, PaddleFlashFadesFromTheFrameBelowTheRestFrame) {
    Bitmap strip = Sprite("VantlerAni");
    ASSERT_FALSE(strip.pixels.empty());
    double rest = MeanBrightness(strip, 12, 0, 52, 10);
    double previous = MeanBrightness(strip, 12, 10, 52, 10);
    EXPECT_GT(previous, rest + 100);  // frame 1, the brightest flash, is the second band from the top
    for (int k = 2; k < 10; ++k) {
        double now = MeanBrightness(strip, 12, 10 * k, 52, 10);
        EXPECT_LT(now, previous) << "frame " << k;
        EXPECT_GE(now, rest) << "frame " << k;
        previous = now;
    }
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(Clear(strip, 0, 10 * k)) << "rounded end, frame " << k;
        EXPECT_FALSE(Clear(strip, 38, 10 * k + 5)) << "frame " << k;
    }
}

TEST(SpriteFiles, BallTrailFramesShrinkAndStayCentred) {
    Bitmap ball = Sprite("Ball");
    ASSERT_FALSE(ball.pixels.empty());
    int previous = 11 * 11 - ClearCount(ball, 0, 0, 11, 11);
    EXPECT_TRUE(Clear(ball, 0, 0));
    EXPECT_FALSE(Clear(ball, 5, 5));
    for (int k = 1; k < 8; ++k) {
        int solid = 11 * 11 - ClearCount(ball, 11 * k, 0, 11, 11);
        EXPECT_LT(solid, previous) << "frame " << k;
        EXPECT_FALSE(Clear(ball, 11 * k + 5, 5)) << "frame " << k;
        previous = solid;
    }
    EXPECT_GT(ball.At(3, 3).Brightness(), ball.At(7, 7).Brightness());  // highlight at the top left
}

TEST(SpriteFiles, GlyphsNeverTouchTheirNeighbours) {
    for (auto [name, count] : {std::pair{"Alphabet", 26}, {"Number", 10}}) {
        Bitmap sheet = Sprite(name);
        ASSERT_FALSE(sheet.pixels.empty());
        for (int k = 0; k < count; ++k) {
            SCOPED_TRACE(std::string(name) + " glyph " + std::to_string(k));
            EXPECT_EQ(ClearCount(sheet, 16 * k + 15, 0, 1, 15), 15);  // a free column before the next glyph
            EXPECT_LT(ClearCount(sheet, 16 * k, 0, 16, 15), 16 * 15 - 20);  // and a real letter in the cell
        }
    }
}

TEST(SpriteFiles, ItemBarCellsKeepTheirOutlineRingPlain) {
    Bitmap bar = Sprite("ItemBar");
    ASSERT_FALSE(bar.pixels.empty());
    for (int cell = 0; cell < 10; ++cell) {
        // The game draws a 15 x 14 outline over the cell's top-left; no icon pixel may sit under it.
        const Pixel& panel = bar.At(16 * cell + 1, 1);
        for (int x = 16 * cell + 1; x < 16 * cell + 14; ++x) EXPECT_EQ(bar.At(x, 1).Packed(), panel.Packed());
        int icon = 0;
        for (int y = 2; y < 12; ++y)
            for (int x = 16 * cell + 2; x < 16 * cell + 13; ++x)
                icon += bar.At(x, y).Brightness() > 200 ? 1 : 0;
        EXPECT_GT(icon, 5) << "cell " << cell;
    }
}

TEST(SpriteFiles, BackgroundIsDarkBehindTheBlockField) {
    Bitmap bg = Sprite("BG");
    ASSERT_FALSE(bg.pixels.empty());
    int brightest = 0;
    for (int y = 55; y < 355; ++y)
        for (int x = 100; x < 772; ++x) brightest = std::max(brightest, bg.At(x, y).Brightness());
    EXPECT_LT(brightest, 3 * 140);
    EXPECT_LT(MeanBrightness(bg, 100, 55, 672, 300), 3 * 40);
}

TEST(SpriteFiles, RocketAndFlamesAreCutOutFromTheirSurroundings) {
    Bitmap rocket = Sprite("Bullet"), flames = Sprite("BulletExt");
    ASSERT_FALSE(rocket.pixels.empty());
    ASSERT_FALSE(flames.pixels.empty());
    EXPECT_TRUE(Clear(rocket, 0, 0));
    EXPECT_FALSE(Clear(rocket, 8, 20));
    int previous = 13 * 13;
    for (int k = 0; k < 7; ++k) {
        int solid = 13 * 13 - ClearCount(flames, 13 * k, 0, 13, 13);
        EXPECT_GT(solid, 0) << "flame " << k;
        EXPECT_LT(solid, previous) << "flame " << k;
        EXPECT_TRUE(Clear(flames, 13 * k, 0)) << "flame " << k;
        previous = solid;
    }
}
