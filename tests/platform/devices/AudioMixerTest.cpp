#include <gtest/gtest.h>

#include <vector>

#include "platform/devices/AudioMixer.h"

using plat::AudioMixer;

namespace {

std::vector<int16_t> Mix(AudioMixer& m, int frames) {
    std::vector<int16_t> out(frames * 2, 0x7777);
    m.Mix(out.data(), frames);
    return out;
}

}  // namespace

TEST(AudioMixer, SilentUntilSomethingPlays) {
    AudioMixer m;
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{0, 0, 0, 0}));
    m.Add({100, 200});
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{0, 0}));
}

TEST(AudioMixer, PlaysAnEffectOnceThenFallsSilent) {
    AudioMixer m;
    const int h = m.Add({1, 2, 3, 4, 5, 6});
    m.Play(h);
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{1, 2, 3, 4}));
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{5, 6, 0, 0}));
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{0, 0, 0, 0}));
}

TEST(AudioMixer, PlayingAgainRestartsTheOneVoice) {
    AudioMixer m;
    const int h = m.Add({10, 10, 20, 20, 30, 30});
    m.Play(h);
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{10, 10, 20, 20}));
    m.Play(h);
    m.Play(h);  // still one copy, not two or three summed
    EXPECT_EQ(Mix(m, 3), (std::vector<int16_t>{10, 10, 20, 20, 30, 30}));
}

TEST(AudioMixer, EffectsAddUpAndSaturate) {
    AudioMixer m;
    const int a = m.Add({30000, -30000, 100, -100});
    const int b = m.Add({30000, -30000, 23, 7});
    m.Play(a);
    m.Play(b);
    EXPECT_EQ(Mix(m, 2), (std::vector<int16_t>{32767, -32768, 123, -93}));
}

TEST(AudioMixer, HandlesAreDistinctAndRemovedOnesGoQuiet) {
    AudioMixer m;
    const int a = m.Add({1, 1});
    const int b = m.Add({2, 2});
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NE(a, b);
    m.Play(a);
    m.Remove(a);
    m.Play(a);
    m.Play(0);
    m.Play(99);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{0, 0}));
    const int c = m.Add({3, 3});  // takes the freed place; b is untouched
    m.Play(b);
    m.Play(c);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{5, 5}));
}

TEST(AudioMixer, AnEmptyEffectPlaysNothing) {
    AudioMixer m;
    const int h = m.Add({});
    EXPECT_GT(h, 0);
    m.Play(h);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{0, 0}));
}

TEST(AudioMixer, ClearForgetsEveryEffect) {
    AudioMixer m;
    const int h = m.Add({9, 9});
    m.Clear();
    m.Play(h);
    EXPECT_EQ(Mix(m, 1), (std::vector<int16_t>{0, 0}));
}
