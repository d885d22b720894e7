// A game record on the fake backend with all 89 sprite slots made at their catalogue sizes
// (blocks 40 x 15) and painted with non-black pixels, so that what a frame draws can be read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "game/CGame.h"
#include "support/FakeBackend.h"
#include "support/Files.h"
#include "support/SlotDisplay.h"

namespace playtest {

// Every pixel of a slot holds 0x1000 + slot, except the background, whose pixels hold their
// column + 1 so that its source offset shows.
inline uint16_t SlotPixel(int slot) {
    return static_cast<uint16_t>(0x1000 + slot);
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = std::make_unique<CGame>();
        OpenCatalogueDisplay(game->m_display, [](SlotIndex slot, int32_t x, int32_t) {
            return slot == 25 ? static_cast<uint16_t>(x + 1) : SlotPixel(slot);
        });
        game->m_sound.Create();
        game->m_sound.AllocSlots(kSoundSlots);
        game->m_keyboard.Create();
        game->m_mouse.Create();
    }

    // The effects played since the last call.
    std::vector<int> Sounds() {
        std::vector<int> effects;
        const std::vector<int>& log = backend.effects;
        effects.assign(log.begin() + static_cast<std::ptrdiff_t>(m_soundsSeen), log.end());
        m_soundsSeen = log.size();
        return effects;
    }

    // The frame being composed (valid after a tick that returned 0 for Escape) and the last presented one.
    uint16_t BackPixel(int32_t x, int32_t y) const { return game->m_display.BackBuffer()->Row(y)[x]; }
    uint16_t ShownPixel(int32_t x, int32_t y) const {
        return backend.presented[static_cast<size_t>(y) * kScreenWidth + x];
    }

    // A new game past the intro, with its banner over: ball 0 resting on the centred paddle.
    void StartPlaying() {
        game->NewGame();
        game->m_bStageBanner = 0;
        Sounds();
    }

    // The paddle centred on its row with ball 0 resting on it.
    void RestBallOnPaddle() {
        game->m_paddle.y = 560;
        game->ResetPaddle();
        game->ResetBalls();
    }

    // Every cell empty, at its place in the grid.
    void ClearField() {
        for (int k = 0; k < kCells; ++k) {
            game->m_cells[k].x = CellLeft(k % kColumns);
            game->m_cells[k].y = CellTop(k / kColumns);
            game->m_cells[k].sprite = -1;
        }
    }
    GameObject& Cell(int column, int row) { return game->m_cells[kColumns * row + column]; }

    // Ball slot i flying with the given position and velocity.
    Ball& Fly(int i, int32_t x, int32_t y, int32_t dx, int32_t dy) {
        Ball& b = game->m_balls[i];
        b.x = x, b.y = y, b.dx = dx, b.dy = dy;
        b.inPlay = 1, b.launched = 1;
        return b;
    }

    FakeBackend backend;
    std::unique_ptr<CGame> game;

private:
    size_t m_soundsSeen = 0;
};

// Runs the test in a fresh working directory (the game reads Map.dat and its assets from there).
class WorkDir : public TempDir {
public:
    WorkDir() : m_old(std::filesystem::current_path()) { std::filesystem::current_path(Path()); }
    ~WorkDir() { std::filesystem::current_path(m_old); }

private:
    std::filesystem::path m_old;
};

inline void AppendInt32(std::string& bytes, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// A stage file: the header with the given stage count, then one 300-code record per stage.
inline std::string MapBytes(int32_t count, const std::vector<std::vector<int32_t>>& stages) {
    std::string bytes;
    AppendInt32(bytes, 0x12345678);  // the first two header values mean nothing to the game
    AppendInt32(bytes, -7);
    AppendInt32(bytes, count);
    for (const auto& codes : stages) {
        for (int32_t code : codes) AppendInt32(bytes, code);
    }
    return bytes;
}

inline void WriteFile(const char* name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A record whose every code is the same.
inline std::vector<int32_t> Filled(int32_t code) {
    return std::vector<int32_t>(kCells, code);
}

}  // namespace playtest
