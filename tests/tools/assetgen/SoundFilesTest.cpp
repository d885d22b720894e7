#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/assetgen/DataFiles.h"

using namespace assettest;

namespace {

struct ExpectedSound {
    const char* name;
    int milliseconds;
};

const ExpectedSound kSounds[] = {{"Vantler", 60}, {"Block", 90},   {"Bounce", 40},
                                 {"Metal", 250},  {"Start", 600},  {"UseItem", 200},
                                 {"Giggle", 700}, {"Rocket", 400}, {"NotEnough", 250}};

}  // namespace

TEST(SoundFiles, EachIs16BitMonoPcmOfItsLength) {
    for (const ExpectedSound& want : kSounds) {
        SCOPED_TRACE(want.name);
        std::vector<uint8_t> file = ReadBytes(DataPath(std::string("sound/") + want.name + ".wav"));
        ASSERT_FALSE(file.empty());
        Wave wave = ReadWave(file);
        EXPECT_EQ(wave.riffSize, file.size() - 8);
        EXPECT_EQ(wave.format, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.bitsPerSample, 16);
        EXPECT_TRUE(wave.sampleRate == 22050 || wave.sampleRate == 44100);
        EXPECT_EQ(wave.byteRate, wave.sampleRate * 2);
        EXPECT_EQ(wave.blockAlign, 2);
        double ms = 1000.0 * double(wave.samples.size()) / wave.sampleRate;
        EXPECT_NEAR(ms, want.milliseconds, 1.0);
    }
}

TEST(SoundFiles, LevelsAreCleanAndNearMinus3dB) {
    for (const ExpectedSound& want : kSounds) {
        SCOPED_TRACE(want.name);
        Wave wave = ReadWave(ReadBytes(DataPath(std::string("sound/") + want.name + ".wav")));
        ASSERT_GT(wave.samples.size(), 100u);
        int peak = 0;
        double sum = 0;
        for (int16_t s : wave.samples) peak = std::max(peak, std::abs(int(s))), sum += s;
        double peakDb = 20 * std::log10(peak / 32768.0);
        EXPECT_LT(peakDb, -2.0);
        EXPECT_GT(peakDb, -4.0);
        EXPECT_LT(std::abs(sum / double(wave.samples.size())), 0.002 * 32768);  // no DC offset
        EXPECT_LE(std::abs(int(wave.samples.front())), 64);  // starts and ends silent: no click
        EXPECT_LE(std::abs(int(wave.samples.back())), 64);
    }
}

TEST(SoundFiles, RefusalBuzzComesInTwoPulses) {
    Wave wave = ReadWave(ReadBytes(DataPath("sound/NotEnough.wav")));
    ASSERT_FALSE(wave.samples.empty());
    // Loudness in 10 ms windows: loud, then a quiet gap, then loud again.
    size_t window = wave.sampleRate / 100;
    std::vector<double> levels;
    for (size_t at = 0; at + window <= wave.samples.size(); at += window) {
        double energy = 0;
        for (size_t i = at; i < at + window; ++i) energy += double(wave.samples[i]) * wave.samples[i];
        levels.push_back(std::sqrt(energy / window));
    }
    int rises = 0;
    for (size_t i = 1; i < levels.size(); ++i) rises += levels[i - 1] < 500 && levels[i] >= 500 ? 1 : 0;
    EXPECT_EQ(rises + (levels.front() >= 500 ? 1 : 0), 2);
}
