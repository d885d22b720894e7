// A plain copy of the game record's state after a frame, under the record's own names, and its JSON
// form (one object on one line) for --state and --trace. Both follow VisitRecord.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/CGame.h"
#include "platform/automation/Automation.h"

struct GameSnapshot {
    uint32_t frame = 0;  // frames run
    int32_t m_bStageBanner = 0;
    int32_t m_bGameOver = 0;
    int32_t m_nStageCount = 0;
    int32_t m_nStage = 0;
    int32_t m_nScore = 0;
    int8_t m_nLives = 0;
    int32_t m_nBalls = 0;
    int32_t m_bMessage = 0;
    std::string m_strMessage;
    int32_t m_bIntro = 0;
    int8_t m_bAutoPaddle = 0;
    int32_t m_bRocketMode = 0;
    int32_t m_bPierceMode = 0;
    int32_t m_bGlueMode = 0;
    int32_t m_bMurkPaddles = 0;
    int32_t m_bWidePaddle = 0;
    int32_t m_nPaddleFrame = 0;
    int32_t m_nItemKeyDelay = 0;
    int8_t m_bMiniMap = 0;
    uint32_t m_dwLastFrame = 0;
    uint32_t m_dwFrameInterval = 0;
    int32_t s_nBannerOffset = 0;
    int8_t m_cells[kCells] = {};  // the kind of each cell
    GameObject m_paddle = {};
    GameObject m_rocket = {};
    Ball m_balls[kMaxBalls] = {};
    ParticleSpray m_particles = {};
    uint32_t rng = 0;
    std::vector<plat::PlayedSound> sounds;
};

// Copies the record and the run's sound log into snapshot, reusing its storage.
void CaptureSnapshot(const CGame& game, uint32_t frame, const std::vector<plat::PlayedSound>& sounds,
                     GameSnapshot* snapshot);

// Appends the snapshot as one JSON object, without a newline.
void AppendJson(const GameSnapshot& snapshot, std::string* out);

// The snapshot's top-level JSON keys, in the order AppendJson writes them.
std::vector<std::string> StateKeys();
