// A game record with a real display (every sprite slot at its catalogue size), a keyboard and a
// sound bank on the fake backend, for the shop, rocket and read-out tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/CGame.h"
#include "input/DIK.h"
#include "platform/Platform.h"
#include "support/FakeBackend.h"

struct SlotSize {
    SlotIndex first;
    SlotIndex last;
    int32_t width;
    int32_t height;
};

inline constexpr SlotSize kCatalogue[] = {
    {0, 9, 76, 10},   {10, 17, 11, 11},  {18, 24, 40, 15},  {25, 25, 872, 600}, {26, 35, 16, 15},
    {36, 61, 16, 15}, {62, 62, 160, 23}, {63, 63, 30, 4},   {64, 64, 17, 38},   {65, 71, 13, 13},
    {72, 76, 6, 6},   {77, 77, 76, 10},  {78, 87, 136, 10}, {88, 88, 800, 600},
};

// Every slot painted in a colour of its own, so a pixel tells which sprite put it there.
inline uint16_t SlotColour(SlotIndex slot) {
    return static_cast<uint16_t>(0x0100 + slot);
}

class ShopFixture : public ::testing::Test {
protected:
    void SetUp() override {
        game.m_display.CreateDirectDraw();
        game.m_display.Init(1, 800, 600, 16);
        game.m_display.AllocSlots(kSpriteSlots);
        for (const SlotSize& range : kCatalogue) {
            for (SlotIndex slot = range.first; slot <= range.last; ++slot) {
                game.m_display.CreateSlot(slot, range.width, range.height);
                Paint(slot, SlotColour(slot));
            }
        }
        game.m_keyboard.Create();
        game.m_sound.Create();
        game.m_sound.AllocSlots(kSoundSlots);
        plat::EnableSoundLog(true);
    }

    void TearDown() override {
        plat::EnableSoundLog(false);
        game.m_sound.Destroy();
        game.m_keyboard.Release();
        game.m_display.Release();
    }

    void Paint(SlotIndex slot, uint16_t value) {
        SlotDC dc;
        game.m_display.GetSlotDC(slot, &dc);
        if (dc.surface != nullptr) {
            std::fill_n(dc.surface->pixels.get(), static_cast<size_t>(dc.surface->width) * dc.surface->height,
                        value);
        }
        game.m_display.ReleaseSlotDC(slot, &dc);
    }

    uint16_t Pixel(int32_t x, int32_t y) const { return game.m_display.BackBuffer()->Row(y)[x]; }

    bool ScreenIsBlack() const {
        const Surface* back = game.m_display.BackBuffer();
        const uint16_t* begin = back->pixels.get();
        const uint16_t* end = begin + static_cast<size_t>(back->width) * back->height;
        return std::all_of(begin, end, [](uint16_t p) { return p == 0; });
    }

    // The effects played since the last call, by number.
    std::vector<int> Sounds() {
        std::vector<int> effects;
        for (const plat::PlayedSound& s : plat::SoundLog()) effects.push_back(s.effect);
        plat::EnableSoundLog(true);
        return effects;
    }

    FakeBackend backend;
    CGame game;
};
