// The icon writer's PNG encoding, checked by an independent reader, and the icons the build makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "assetgen/Png.h"
#include "support/Files.h"
#include "support/PngCheck.h"

using assetgen::RgbaImage;

namespace {

RgbaImage Gradient(int width, int height) {
    RgbaImage image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(x), uint8_t(y), uint8_t(x ^ y), uint8_t(255 - x)});
    return image;
}

}  // namespace

TEST(PngWriter, PicturesReadBackExactly) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {200, 100}, {256, 256}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const RgbaImage image = Gradient(width, height);
        DecodedPng png;
        ASSERT_EQ(DecodePng(assetgen::EncodePng(image), &png), "");
        EXPECT_EQ(png.width, uint32_t(width));
        EXPECT_EQ(png.height, uint32_t(height));
        EXPECT_EQ(png.rgba, image.rgba);
    }
}

TEST(PngWriter, APictureWithTheWrongNumberOfBytesIsRefused) {
    RgbaImage image = Gradient(4, 4);
    image.rgba.pop_back();
    EXPECT_TRUE(assetgen::EncodePng(image).empty());
    EXPECT_TRUE(assetgen::EncodePng(RgbaImage{}).empty());
}

TEST(PngWriter, TheCheckerCatchesADamagedFile) {
    const std::vector<uint8_t> file = assetgen::EncodePng(Gradient(16, 16));
    DecodedPng png;
    ASSERT_EQ(DecodePng(file, &png), "");
    const std::string idat = "IDAT";
    const auto at = std::search(file.begin(), file.end(), idat.begin(), idat.end());
    ASSERT_NE(at, file.end());
    std::vector<uint8_t> damaged = file;
    damaged[size_t(at - file.begin()) + 6] ^= 1;  // a byte of the image data: the CRC no longer matches
    EXPECT_EQ(DecodePng(damaged, &png), "bad chunk CRC");
    const std::vector<uint8_t> cut(file.begin(), file.end() - 1);
    EXPECT_EQ(DecodePng(cut, &png), "chunk header cut short");
}

TEST(Icon, EverySizeIsACleanSquareTile) {
    for (int size : {16, 32, 48, 64, 128, 192, 256, 512}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        DecodedPng png;
        ASSERT_EQ(DecodePng(ReadBinary((BuildDataDir() / "icons" / name / "apps" / "plinkwell.png").string()),
                            &png),
                  "");
        EXPECT_EQ(png.width, uint32_t(size));
        EXPECT_EQ(png.height, uint32_t(size));
        auto alpha = [&](int x, int y) { return png.rgba[(size_t(y) * size + x) * 4 + 3]; };
        EXPECT_LT(alpha(0, 0), 32);  // rounded corners
        EXPECT_LT(alpha(size - 1, size - 1), 32);
        EXPECT_EQ(alpha(size / 2, size / 2), 255);
        EXPECT_EQ(alpha(size / 2, size / 10), 255);
        size_t opaque = 0;
        for (size_t i = 0; i < png.rgba.size(); i += 4) {
            opaque += png.rgba[i + 3] == 255;
            if (png.rgba[i + 3] == 0) {
                EXPECT_EQ(png.rgba[i] | png.rgba[i + 1] | png.rgba[i + 2], 0) << i / 4;
            }
        }
        EXPECT_GT(opaque, size_t(size) * size * 8 / 10);
    }
}

// The Windows icon file holds the same pictures, one entry per size (0 stands for 256), each a PNG.
TEST(Icon, TheWindowsIconHoldsEverySize) {
    constexpr int kSizes[] = {16, 32, 48, 64, 128, 192, 256};
    const std::vector<uint8_t> ico = ReadBinary((BuildDataDir() / "plinkwell.ico").string());
    auto u16 = [&](size_t at) { return uint32_t(ico.at(at) | ico.at(at + 1) << 8); };
    auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
    ASSERT_EQ(u16(2), 1u);  // an icon
    ASSERT_EQ(u16(4), std::size(kSizes));
    for (size_t i = 0; i < std::size(kSizes); ++i) {
        const size_t entry = 6 + 16 * i;
        const std::vector<uint8_t> png(ico.begin() + u32(entry + 12),
                                       ico.begin() + u32(entry + 12) + u32(entry + 8));
        const std::string name = std::to_string(kSizes[i]) + "x" + std::to_string(kSizes[i]);
        EXPECT_EQ(ico.at(entry), kSizes[i] % 256) << name;
        EXPECT_EQ(png, ReadBinary((BuildDataDir() / "icons" / name / "apps" / "plinkwell.png").string()))
            << name;
    }
}
