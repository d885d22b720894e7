// The state dump's JSON and the screenshot's BMP encoding.
#include <gtest/gtest.h>

#include <memory>

#include "app/GameSnapshot.h"
#include "app/Screenshot.h"
#include "support/Json.h"

namespace {

Json Dump(const CGame& game, uint32_t frame, const std::vector<plat::PlayedSound>& sounds = {}) {
    GameSnapshot snapshot;
    CaptureSnapshot(game, frame, sounds, &snapshot);
    std::string text;
    AppendJson(snapshot, &text);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    return ParseJson(text);
}

}  // namespace

TEST(StateJson, HasEveryFieldOfTheRecordInOrder) {
    auto game = std::make_unique<CGame>();
    Json json = Dump(*game, 0);
    EXPECT_EQ(Keys(json), StateKeys());
    EXPECT_EQ(json["cells"].size(), 300u);
    EXPECT_EQ(Keys(json["paddle"]), (std::vector<std::string>{"x", "y", "sprite", "trailX", "trailY"}));
    EXPECT_EQ(Keys(json["rocket"]),
              (std::vector<std::string>{"x", "y", "dx", "dy", "sprite", "trailX", "trailY"}));
    ASSERT_EQ(json["balls"].size(), 64u);
    EXPECT_EQ(Keys(json["balls"][63]),
              (std::vector<std::string>{"x", "y", "dx", "dy", "inPlay", "launched", "glueOffset",
                                        "glueToggle", "trailX", "trailY"}));
    EXPECT_EQ(json["balls"][0]["trailX"].size(), 7u);
    EXPECT_EQ(Keys(json["particles"]),
              (std::vector<std::string>{"framesLeft", "sprite", "gravity", "x", "y", "dx", "dy"}));
    EXPECT_EQ(json["particles"]["dy"].size(), 20u);
    EXPECT_EQ(json["rng"].get<int64_t>(), 1);
    EXPECT_EQ(json["s_nBannerOffset"].get<int64_t>(), -355);
}

TEST(StateJson, WritesTheValuesSignedWideAndEscaped) {
    auto game = std::make_unique<CGame>();
    game->m_nLives = -3;
    game->m_bAutoPaddle = static_cast<int8_t>(0xFF);
    game->m_nScore = INT32_MIN;
    game->m_dwLastFrame = 0xFFFFFFFFu;
    game->m_strMessage = "say \"HI\"\\\n\x01 \xEC\x9D\xBD";
    game->m_cells[7].sprite = 22;
    game->m_cells[8].sprite = -1;
    game->m_paddle.trailX[6] = -42;
    game->m_rocket.dy = -9;
    game->m_balls[63].glueToggle = -2;
    game->m_balls[2].inPlay = 1;
    game->m_particles.x[19] = 77;
    game->m_random.SetState(0xFFFFFFFEu);
    Json json = Dump(*game, 121, {{120, 4}, {121, 1}});

    EXPECT_EQ(json["frame"].get<int64_t>(), 121);
    EXPECT_EQ(json["m_nLives"].get<int64_t>(), -3);
    EXPECT_EQ(json["m_bAutoPaddle"].get<int64_t>(), -1);
    EXPECT_EQ(json["m_nScore"].get<int64_t>(), INT32_MIN);
    EXPECT_EQ(json["m_dwLastFrame"].get<int64_t>(), 4294967295);
    EXPECT_EQ(json["m_strMessage"].get<std::string>(), game->m_strMessage);
    EXPECT_EQ(json["cells"][7].get<int64_t>(), 22);
    EXPECT_EQ(json["cells"][8].get<int64_t>(), -1);
    EXPECT_EQ(json["cells"][9].get<int64_t>(), 0);
    EXPECT_EQ(json["paddle"]["trailX"][6].get<int64_t>(), -42);
    EXPECT_EQ(json["rocket"]["dy"].get<int64_t>(), -9);
    EXPECT_EQ(json["balls"][63]["glueToggle"].get<int64_t>(), -2);
    EXPECT_EQ(json["balls"][2]["inPlay"].get<int64_t>(), 1);
    EXPECT_EQ(json["particles"]["x"][19].get<int64_t>(), 77);
    EXPECT_EQ(json["rng"].get<int64_t>(), 4294967294);
    ASSERT_EQ(json["sounds"].size(), 2u);
    EXPECT_EQ(json["sounds"][0][0].get<int64_t>(), 120);
    EXPECT_EQ(json["sounds"][0][1].get<int64_t>(), 4);
    EXPECT_EQ(json["sounds"][1][0].get<int64_t>(), 121);
    EXPECT_EQ(json["sounds"][1][1].get<int64_t>(), 1);
}

TEST(ScreenshotBmp, HeaderDescribesA24BitBottomUpPicture) {
    const std::vector<uint16_t> pixels(800 * 600, 0);
    const std::vector<uint8_t> bmp = EncodeBmp24(pixels.data(), 800, 600);
    auto u32 = [&](size_t at) {
        return bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | uint32_t{bmp[at + 3]} << 24;
    };
    auto u16 = [&](size_t at) { return bmp[at] | bmp[at + 1] << 8; };
    ASSERT_EQ(bmp.size(), 54u + 2400u * 600u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(u32(2), bmp.size());
    EXPECT_EQ(u32(10), 54u);
    EXPECT_EQ(u32(14), 40u);
    EXPECT_EQ(u32(18), 800u);
    EXPECT_EQ(u32(22), 600u);
    EXPECT_EQ(u16(26), 1);
    EXPECT_EQ(u16(28), 24);
    EXPECT_EQ(u32(30), 0u);  // uncompressed
    EXPECT_EQ(u32(34), 2400u * 600u);
}

TEST(ScreenshotBmp, WidensChannelsByRepeatingTheirHighBitsAndPadsRows) {
    // Three pixels wide (9 bytes, padded to 12), two rows; the top row comes last in the file.
    const uint16_t pixels[6] = {
        0xFFFF, 0xF800, 0x07E0,  // top: white, red, green
        0x001F, 0x0841, 0x8410,  // bottom: blue, (1,2,1), (16,32,16)
    };
    const std::vector<uint8_t> bmp = EncodeBmp24(pixels, 3, 2);
    ASSERT_EQ(bmp.size(), 54u + 24u);
    const std::vector<uint8_t> bottom(bmp.begin() + 54, bmp.begin() + 66);
    const std::vector<uint8_t> top(bmp.begin() + 66, bmp.end());
    // Stored blue, green, red.
    EXPECT_EQ(bottom, (std::vector<uint8_t>{255, 0, 0, 8, 8, 8, 132, 130, 132, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<uint8_t>{255, 255, 255, 0, 0, 255, 0, 255, 0, 0, 0, 0}));
}
