// Long headless games with generated input, the game record checked after every frame.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/Launcher.h"
#include "game/CGame.h"

namespace reliability {

// An input script of frames frames for seed: mouse motion of every size, button presses, every
// shop and command key (Left Ctrl combinations, Space, the stage skip), held for varying times.
// Escape is never pressed, so the game runs its whole budget.
std::string MakeSoakScript(uint32_t seed, uint32_t frames);

// The rules the record keeps at the end of every frame once the first stage is loaded. Returns the
// first rule broken, or "" when the record holds together. paddleMoved: the paddle step ran in this
// frame (neither the intro nor the game-over screen was up when the frame began).
std::string CheckRecord(const CGame& game, bool paddleMoved);

// What a soak saw: frames, the first broken rule, and how much of the game it reached.
struct SoakReport {
    uint32_t frames = 0;
    int exitCode = -1;
    uint32_t failedFrame = 0;  // 0: every frame held
    std::string failure;       // the broken rule, with the record at that frame as JSON
    uint32_t gamesOver = 0;
    uint32_t banners = 0;  // stage-start banners begun
    uint32_t framesWith64Balls = 0;
    uint32_t rocketsLaunched = 0;
    uint32_t framesPaddleAtAnEdge = 0;
    int8_t mostLives = 0;
    int32_t highestStage = 0;
    int32_t highestScore = 0;
};

// Checks every frame of a run and remembers the first failure; the run is ended there.
class SoakObserver : public RunObserver {
public:
    void OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) override;
    const SoakReport& Report() const { return m_report; }

private:
    void Tally(const CGame& game);

    SoakReport m_report;
    bool m_intro = true;  // the game starts on the intro screen
    bool m_gameOver = false;
    int32_t m_banner = 0;
    int8_t m_rocket = -1;
};

// Runs `plinkwell --headless --frames frames` on the game data in dataDir with the soak script of seed.
SoakReport RunSoak(uint32_t seed, uint32_t frames, const std::filesystem::path& dataDir);

}  // namespace reliability
