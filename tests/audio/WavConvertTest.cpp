#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "WavWriter.h"
#include "audio/WavConvert.h"
#include "audio/WavReader.h"

using namespace wavtest;

namespace {

// The device frames of a whole file, or an empty vector when it is refused.
std::vector<int16_t> Convert(const Bytes& file) {
    const plat::MemoryBytes input(file.data(), file.size());
    const wav::WavResult result = wav::ReadWav(input);
    EXPECT_EQ(result.error, nullptr);
    std::vector<int16_t> frames;
    wav::ConvertToDevice(result.format, input, result.dataOffset, result.dataSize, &frames);
    return frames;
}

TEST(WavRead, NonPcmFormatKeepsItsExtraBytes) {
    const Bytes file = Wav(Cat({Format(2, 1, 22050, 4), Le16(4), {1, 2, 3, 4}, {0xAB, 0xCD}}), {9, 8, 7});
    const wav::WavResult result = wav::ReadWav(plat::MemoryBytes(file.data(), file.size()));
    ASSERT_EQ(result.error, nullptr);
    EXPECT_EQ(result.format.formatTag, 2);
    EXPECT_EQ(result.format.samplesPerSec, 22050u);
    EXPECT_EQ(result.format.cbSize, 4);
    EXPECT_EQ(result.format.extra, (Bytes{1, 2, 3, 4}));
    ASSERT_EQ(result.dataSize, 3u);
    EXPECT_EQ(Bytes(file.begin() + result.dataOffset, file.begin() + result.dataOffset + 3),
              (Bytes{9, 8, 7}));
}

TEST(WavRead, PcmIgnoresWhatFollowsTheRecord) {
    const Bytes file = Wav(Cat({Format(1, 2, 8000, 16), Le16(6), Bytes(6, 1)}), {});
    const wav::WavResult result = wav::ReadWav(plat::MemoryBytes(file.data(), file.size()));
    ASSERT_EQ(result.error, nullptr);
    EXPECT_EQ(result.format.cbSize, 0);
    EXPECT_TRUE(result.format.extra.empty());
    EXPECT_EQ(result.format.blockAlign, 4);
}

TEST(WavConvert, IntegerSamplesKeepTheirTopSixteenBits) {
    EXPECT_EQ(Convert(Wav(Format(1, 1, 44100, 8), {128, 255, 0})),
              (std::vector<int16_t>{0, 0, 32512, 32512, -32768, -32768}));
    EXPECT_EQ(Convert(Wav(Format(1, 1, 44100, 16), Samples16({1000, -2000}))),
              (std::vector<int16_t>{1000, 1000, -2000, -2000}));
    EXPECT_EQ(Convert(Wav(Format(1, 2, 44100, 16), Samples16({1, 2, 3, 4}))),
              (std::vector<int16_t>{1, 2, 3, 4}));
    // 24-bit 0x123456, -1 and the most negative value.
    EXPECT_EQ(Convert(Wav(Format(1, 1, 44100, 24), {0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80})),
              (std::vector<int16_t>{0x1234, 0x1234, -1, -1, -32768, -32768}));
    // 32-bit 0x7FFFFFFF and 0x00010000.
    EXPECT_EQ(Convert(Wav(Format(1, 1, 44100, 32), Cat({Le32(0x7FFFFFFF), Le32(0x00010000)}))),
              (std::vector<int16_t>{32767, 32767, 1, 1}));
}

TEST(WavConvert, FloatSamplesScaleAndClip) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Convert(Wav(Cat({Format(3, 1, 44100, 32), Le16(0)}), Floats32({0.5f, -1.0f, 1.0f, 2.0f, nan}))),
              (std::vector<int16_t>{16384, 16384, -32768, -32768, 32767, 32767, 32767, 32767, 0, 0}));
    Bytes doubles;
    for (double v : {0.25, -0.5}) {
        uint64_t bits = 0;
        std::memcpy(&bits, &v, 8);
        doubles = Cat({doubles, Le32(static_cast<uint32_t>(bits)), Le32(static_cast<uint32_t>(bits >> 32))});
    }
    EXPECT_EQ(Convert(Wav(Cat({Format(3, 1, 44100, 64), Le16(0)}), doubles)),
              (std::vector<int16_t>{8192, 8192, -16384, -16384}));
}

TEST(WavConvert, ExtensibleFormatsUseTheirSubformat) {
    EXPECT_EQ(Convert(Wav(Extensible(2, 44100, 32, 3), Floats32({0.5f, -0.25f}))),
              (std::vector<int16_t>{16384, -8192}));
    // Four 24-bit channels: the first two are kept.
    EXPECT_EQ(Convert(Wav(Extensible(4, 44100, 24, 1), {0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0})),
              (std::vector<int16_t>{1, 2}));
}

TEST(WavConvert, MoreThanTwoChannelsKeepTheFirstTwo) {
    EXPECT_EQ(Convert(Wav(Format(1, 6, 44100, 16), Samples16({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}))),
              (std::vector<int16_t>{1, 2, 7, 8}));
}

TEST(WavConvert, OtherRatesAreInterpolated) {
    EXPECT_EQ(Convert(Wav(Format(1, 1, 22050, 16), Samples16({0, 1000}))),
              (std::vector<int16_t>{0, 0, 500, 500, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(Convert(Wav(Format(1, 2, 11025, 16), Samples16({0, 0, 400, -400}))),
              (std::vector<int16_t>{0, 0, 100, -100, 200, -200, 300, -300, 400, -400, 400, -400, 400, -400,
                                    400, -400}));
    EXPECT_EQ(Convert(Wav(Format(1, 1, 22050, 16), Bytes(2 * 1000, 0))).size(), 2u * 2000);
    EXPECT_EQ(Convert(Wav(Format(1, 1, 48000, 16), Bytes(2 * 48000, 0))).size(), 2u * 44100);
    // One frame at 8000 Hz lasts ceil(44100 / 8000) device frames.
    EXPECT_EQ(Convert(Wav(Format(1, 1, 8000, 16), Samples16({-7}))), std::vector<int16_t>(12, -7));
}

TEST(WavConvert, FrameCountSaturatesInsteadOfOverflowing) {
    wav::WavFormat format;
    format.formatTag = 1;
    format.channels = 1;
    format.samplesPerSec = 1;
    format.blockAlign = 1;
    format.bitsPerSample = 8;
    EXPECT_EQ(wav::DeviceFrameCount(format, 3), 3u * 44100);
    EXPECT_GT(wav::DeviceFrameCount(format, std::numeric_limits<uint64_t>::max()), wav::kMaxDeviceFrames);
}

}  // namespace
