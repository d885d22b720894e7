// A game record with a real display (every sprite slot at its catalogue size), a keyboard and a
// sound bank on the fake backend, for the shop, rocket and read-out tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/CGame.h"
#include "input/DIK.h"
#include "support/FakeBackend.h"
#include "support/SlotDisplay.h"

// Every slot painted in a colour of its own, so a pixel tells which sprite put it there.
inline uint16_t SlotColour(SlotIndex slot) {
    return static_cast<uint16_t>(0x0100 + slot);
}

class ShopFixture : public ::testing::Test {
protected:
    void SetUp() override {
        OpenCatalogueDisplay(game.m_display,
                             [](SlotIndex slot, int32_t, int32_t) { return SlotColour(slot); });
        game.m_keyboard.Create();
        game.m_sound.Create();
        game.m_sound.AllocSlots(kSoundSlots);
    }

    void TearDown() override {
        game.m_sound.Destroy();
        game.m_keyboard.Release();
        game.m_display.Release();
    }

    void Paint(SlotIndex slot, uint16_t value) {
        PaintSlot(game.m_display, slot, [value](int32_t, int32_t) { return value; });
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
        effects.swap(backend.effects);
        return effects;
    }

    FakeBackend backend;
    CGame game;
};
