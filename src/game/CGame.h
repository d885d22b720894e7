// The game record: every piece of game state and the four services it owns. Its operations are
// spread over the files of this folder by area.
#pragma once

#include <cstdint>
#include <string>

#include "audio/CSoundBank.h"
#include "game/Catalogue.h"
#include "game/GameObjects.h"
#include "game/Random.h"
#include "gfx/CDibImage.h"
#include "gfx/CDisplay.h"
#include "input/CKeyboard.h"
#include "input/CMouse.h"

inline constexpr int kMaxBalls = 64;
inline constexpr int32_t kBannerStart = -355;

class CGame {
public:
    CGame();
    virtual ~CGame();

    // Game: states and frame tick (Game.cpp)
    int NewGame();
    int NextStage();
    int IsStageCleared();
    int Tick();
    int Shutdown();

    // Assets.cpp
    int LoadAssets();

    // Stage.cpp
    int LoadStage(int32_t n);

    // Balls.cpp
    int ResetBalls();
    int UpdateBalls();
    int StepBall(Ball& ball);
    int DrawBall(Ball& ball);
    int GlueBall(Ball& ball, int32_t offset);
    int BranchBalls();
    int ChangeBallSpeed(int32_t delta);
    int StartSpray(int32_t x, int32_t y, int8_t sprite, ParticleSpray& spray);

    // Paddle.cpp
    int ResetPaddle();
    int UpdatePaddle(GameObject& paddle, GameObject& rocket);

    // Items.cpp
    int ItemKeys();

    // Rocket.cpp (rocket and particle spray)
    int UpdateRocket(GameObject& rocket);
    int AdvanceSpray(ParticleSpray& spray);
    int DrawSpray(ParticleSpray& spray);

    // Hud.cpp
    int DrawString(int32_t x, int32_t y, const std::string& text);
    int DrawHud();
    int DrawItemBar();
    int DrawLives();
    int DrawTimedMessage(int32_t frames);

    // ---- the record, in its order ----
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
    GameObject m_cells[kCells] = {};
    GameObject m_rocket = {};
    Ball m_balls[kMaxBalls] = {};
    GameObject m_paddle = {};
    ParticleSpray m_particles = {};
    int32_t m_nItemKeyDelay = 0;
    int8_t m_bMiniMap = 0;
    CDibImage* m_pLoadImage = nullptr;
    CDisplay m_display;
    CSoundBank m_sound;
    CKeyboard m_keyboard;
    CMouse m_mouse;
    uint32_t m_dwLastFrame = 0;
    uint32_t m_dwFrameInterval = 0;

    // The stage-start banner's field offset; one per run like the record itself.
    int32_t s_nBannerOffset = kBannerStart;
    // Read-out state that lives for the whole run (Hud.cpp).
    int32_t m_nItemBarX = 0;
    bool m_bItemBarPlaced = false;
    int32_t m_nPulseValue = 0;
    int8_t m_nPulseStep = 5;
    int32_t m_nMessageFrames = 0;
    // The one random generator.
    Random m_random;

private:
    // Private helpers, one block per area file; add yours only to your area's block.
    // -- Game.cpp
    void DrawScene();
    void PlayFrame();
    void DrawField(int32_t shift);
    void DrawMiniMap();
    void DrawCentred(const std::string& text, int32_t dy);
    // -- Balls.cpp
    void LaunchPoint(int32_t* x, int32_t* y);
    void PaddleContact(Ball& ball, int32_t wb);
    void MurkContacts(Ball& ball, int32_t wb);
    void WallContacts(Ball& ball, int32_t wb, int32_t hb);
    void HitCell(GameObject& cell);
    // -- Paddle.cpp
    void MovePaddle(GameObject& paddle, int32_t w);
    void LaunchRocket(const GameObject& paddle, GameObject& rocket, int32_t w);
    // -- Items.cpp
    void RunShop();
    void HandleItem(int item);
    bool IsItemInForce(int item) const;
    void PaddleKeys();
    void BuyItem(int item);
    void RefuseItem();
    void ApplyItem(int item);
    void StartGlue();
    void BranchAll();
    bool IsCtrlKeyDown(int key);
    void CommandKeys();
    bool RunCommandKey();
    // -- Rocket.cpp
    void DrawExhaust(GameObject& rocket);
    bool RocketHits(GameObject& rocket, int32_t px);
    // -- Hud.cpp
    void DrawNumber(int32_t value, int32_t right);

public:
    // Score additions stop at the largest int32 instead of overflowing (Items.cpp).
    void AddScore(int32_t points);
};
