// The icon writer's PNG encoding, checked by an independent reader, and the icons the build makes.
#include <gtest/gtest.h>

#include <string>

#include "assetgen/Png.h"
#include "dist/PngCheck.h"
#include "support/Harness.h"

using assetgen::RgbaImage;

namespace {

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

RgbaImage Gradient(int width, int height) {
    RgbaImage image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(x), uint8_t(y), uint8_t(x ^ y), uint8_t(255 - x)});
    return image;
}

uint32_t BigEndianAt(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 |
           bytes[at + 3];
}

constexpr size_t kIdatAt = 8 + 12 + 13;  // after the signature and the IHDR chunk

}  // namespace

TEST(PngWriter, ChecksumsGiveTheirStandardValues) {
    EXPECT_EQ(assetgen::Crc32(Bytes("123456789"), 9), 0xCBF43926u);
    EXPECT_EQ(assetgen::Crc32(Bytes("IEND"), 4), 0xAE426082u);
    EXPECT_EQ(assetgen::Crc32(Bytes("6789"), 4, assetgen::Crc32(Bytes("12345"), 5)), 0xCBF43926u);
    EXPECT_EQ(assetgen::Adler32(Bytes("Wikipedia"), 9), 0x11E60398u);
    EXPECT_EQ(assetgen::Adler32(nullptr, 0), 1u);
}

TEST(PngWriter, ASmallPictureReadsBackExactly) {
    const RgbaImage image = Gradient(3, 2);
    const std::vector<uint8_t> file = assetgen::EncodePng(image);
    // Signature 8, IHDR 12 + 13, IDAT 12 + (zlib 2 + block 5 + 2 rows x 13 + Adler 4), IEND 12.
    EXPECT_EQ(file.size(), 8u + 25u + 12u + 37u + 12u);
    DecodedPng png;
    ASSERT_EQ(DecodeStoredPng(file, &png), "");
    EXPECT_EQ(png.width, 3u);
    EXPECT_EQ(png.height, 2u);
    EXPECT_EQ(png.rgba, image.rgba);
}

TEST(PngWriter, DataBeyondOneStoredBlockIsSplit) {
    const RgbaImage image = Gradient(200, 100);  // 100 rows x 801 bytes = 80100: 65535 + 14565
    const std::vector<uint8_t> file = assetgen::EncodePng(image);
    EXPECT_EQ(BigEndianAt(file, kIdatAt), 2u + 5u + 65535u + 5u + 14565u + 4u);
    const size_t firstBlock = kIdatAt + 8 + 2;
    EXPECT_EQ(file[firstBlock], 0);  // not the final block
    EXPECT_EQ(file[firstBlock + 1], 0xFF);
    EXPECT_EQ(file[firstBlock + 2], 0xFF);
    EXPECT_EQ(file[firstBlock + 3], 0x00);
    EXPECT_EQ(file[firstBlock + 4], 0x00);
    EXPECT_EQ(file[firstBlock + 5 + 65535], 1);  // the final block
    DecodedPng png;
    ASSERT_EQ(DecodeStoredPng(file, &png), "");
    EXPECT_EQ(png.rgba, image.rgba);
}

TEST(PngWriter, TheCheckerCatchesADamagedFile) {
    std::vector<uint8_t> file = assetgen::EncodePng(Gradient(4, 4));
    DecodedPng png;
    std::vector<uint8_t> pixel = file;
    pixel[kIdatAt + 8 + 2 + 5 + 3] ^= 1;  // one pixel byte: the chunk CRC no longer matches
    EXPECT_EQ(DecodeStoredPng(pixel, &png), "bad chunk CRC");
    std::vector<uint8_t> cut(file.begin(), file.end() - 1);
    EXPECT_EQ(DecodeStoredPng(cut, &png), "chunk header cut short");
}

TEST(Icon, EverySizeIsACleanSquareTile) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        DecodedPng png;
        ASSERT_EQ(
            DecodeStoredPng(ReadBinary((BuildDataDir() / "icons" / name / "apps" / "plinkwell.png").string()),
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
