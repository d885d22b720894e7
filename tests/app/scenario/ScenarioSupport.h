// Helpers for whole-game scenarios run headless: input scripts built by frame, hand-made stages,
// the record after every frame, the sound log by frame, the documented random generator for
// working out expected values, and screenshots read back from their BMP files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/Harness.h"

namespace scenario {

// An input script built out of order and written sorted by frame (events of one frame keep the
// order they were added in).
class Script {
public:
    Script& Down(uint32_t frame, const std::string& key);
    Script& Up(uint32_t frame, const std::string& key);
    // Down at frame, up at the next frame: seen by exactly one frame.
    Script& Tap(uint32_t frame, const std::string& key);
    // Left Ctrl and key held for exactly one frame.
    Script& Ctrl(uint32_t frame, const std::string& key);
    Script& Mouse(uint32_t frame, int32_t dx);
    // The left button held for exactly one frame.
    Script& Click(uint32_t frame);
    Script& Button(uint32_t frame, bool down);
    // Space on the intro's first frame: the banner of stage 1 then runs frames 2 to 120.
    Script& SkipIntro();
    std::string Text() const;

private:
    Script& Add(uint32_t frame, const std::string& event);
    std::vector<std::pair<uint32_t, std::string>> m_events;
};

// A stage with the given (column, row, code) cells; every other cell empty.
struct Placed {
    int column;
    int row;
    int32_t code;
};
StageCodes StageWith(const std::vector<Placed>& cells);
// A plain block in the top-left cell, off every path the scenarios take: the stage is never cleared.
constexpr Placed kKeeper{0, 0, 0};
// Index of a cell in the record's 300 cells.
constexpr int CellIndex(int column, int row) {
    return 15 * row + column;
}

struct GameRun {
    HarnessResult result;
    // The record after frame f (frames count from 1).
    const GameSnapshot& At(uint32_t f) const { return result.perFrame.at(f - 1); }
};

// Runs the game headless for frames frames on the data directory with the script, keeping the
// record after every frame; extra options are passed on.
GameRun Play(const std::filesystem::path& data, uint32_t frames, const Script& script,
             const std::vector<std::string>& extra = {});

// The effects played during frame, in order.
std::vector<int> SoundsIn(const GameSnapshot& s, uint32_t frame);

// A purchase in frame: the score after it, sound 5, its message shown, the keys waiting 20 frames.
void ExpectPurchase(const GameRun& run, uint32_t frame, int32_t score, const std::string& message);

// Number of balls whose slot is in play.
int BallsInPlay(const GameSnapshot& s);

// The game's generator as the rules define it: s = s * 214013 + 2531011, each draw (s >> 16) & 0x7FFF.
class Lcg {
public:
    explicit Lcg(uint32_t state) : m_state(state) {}
    int32_t Rnd(int32_t n) { return Draw() % n; }
    int32_t Draw() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int32_t>((m_state >> 16) & 0x7FFF);
    }
    void Skip(int draws) {
        for (int i = 0; i < draws; ++i) Draw();
    }
    uint32_t State() const { return m_state; }

private:
    uint32_t m_state;
};

// An 800 x 600 screenshot read back from its 24-bit BMP file, each pixel narrowed to RGB565.
class Screenshot {
public:
    explicit Screenshot(const std::filesystem::path& bmp);
    bool Valid() const { return m_pixels.size() == 800u * 600u; }
    uint16_t At(int x, int y) const { return m_pixels.at(static_cast<size_t>(y) * 800 + x); }

private:
    std::vector<uint16_t> m_pixels;
};

// A 24-bit BMP file of width x height whose every pixel is the RGB565 colour pixel(x, y), written
// with zero low bits so that the game reads back exactly that colour.
std::string SpriteBmp(int width, int height, uint16_t (*pixel)(int x, int y));

// A data directory with the build's sounds, the given stages, and the build's sprites except the
// files replaced: (file name under sprite/, its contents).
class CustomDataDir : public TempDir {
public:
    CustomDataDir(const std::vector<StageCodes>& stages,
                  const std::vector<std::pair<std::string, std::string>>& sprites);
};

}  // namespace scenario
