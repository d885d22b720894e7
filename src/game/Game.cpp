#include <cstdint>
#include <string>

#include "game/CGame.h"
#include "input/DIK.h"
#include "platform/Platform.h"

namespace {

constexpr int32_t kBannerStep = 3;
constexpr int8_t kStartLives = 5;

constexpr ColorRef kRed = 0x0000FF;
constexpr ColorRef kGreen = 0x00FF00;

// Built once: the texts are drawn every frame and a frame must not allocate.
const std::string kGameStart = "GAME START";
const std::string kLevelUp = "LEVEL UP";
const std::string kGameOver = "GAME OVER";
const std::string kPressSpace = "PRESS SPACE TO RESTART";

}  // namespace

CGame::CGame() {
    m_strMessage = "";
}

CGame::~CGame() {}

int CGame::NewGame() {
    m_bGameOver = 0;
    m_nLives = kStartLives;
    m_paddle.x = 400;
    m_paddle.y = 560;
    m_bStageBanner = 0;
    m_nStage = 0;
    NextStage();
    m_nScore = 0;
    m_bMessage = 0;
    m_strMessage = "";
    m_nItemKeyDelay = kItemKeyDelay;
    m_bMiniMap = 0;
    m_bAutoPaddle = 0;
    m_dwFrameInterval = kFrameInterval;
    return 1;
}

int CGame::NextStage() {
    m_bStageBanner = 1;
    // Compared in 64 bits: a stage count of the largest int32 must not overflow the increment.
    if (static_cast<int64_t>(m_nStage) + 1 > m_nStageCount) {
        m_nStage = 1;
    } else {
        m_nStage = m_nStage + 1;
    }
    ResetPaddle();
    ResetBalls();
    LoadStage(m_nStage);
    return 1;
}

int CGame::IsStageCleared() {
    int32_t left = 0;
    for (const GameObject& cell : m_cells) {
        if (cell.sprite != kEmptyCell && cell.sprite != BlockGold) ++left;
    }
    return left == 0 ? 1 : 0;
}

int CGame::Tick() {
    if (plat::GetTickCount() - m_dwLastFrame < m_dwFrameInterval) return 1;
    m_dwLastFrame = plat::GetTickCount();

    if (m_bIntro != 0) {
        m_display.Blit(0, 0, kScreenWidth, kScreenHeight, kSlotIntro, 0, 0, kAnchorTopLeft);
        if (m_keyboard.IsKeyDown(DIK_SPACE)) m_bIntro = 0;
    } else {
        DrawScene();
    }

    if (m_bGameOver == 1 && m_keyboard.IsKeyDown(DIK_SPACE)) NewGame();
    if (m_keyboard.IsKeyDown(DIK_ESCAPE)) return 0;
    m_display.Flip();
    return 1;
}

void CGame::DrawScene() {
    m_display.Blit(0, 0, kScreenWidth, kScreenHeight, kSlotBackground, 72 - m_paddle.x / 10, 0,
                   kAnchorTopLeft);
    if (m_bMiniMap != 0) DrawMiniMap();

    if (m_bStageBanner == 1) {
        DrawField(s_nBannerOffset);
        DrawCentred(m_nStage == 1 ? kGameStart : kLevelUp, 0);
        s_nBannerOffset += kBannerStep;
        if (s_nBannerOffset >= 0) {
            s_nBannerOffset = kBannerStart;
            m_sound.Play(kSoundStart);
            m_bStageBanner = 0;
        }
    } else {
        DrawField(0);
    }

    if (m_bGameOver == 1) {
        DrawCentred(kGameOver, -10);
        DrawCentred(kPressSpace, 10);
        DrawHud();
        DrawItemBar();
    } else {
        PlayFrame();
    }
}

void CGame::PlayFrame() {
    UpdatePaddle(m_paddle, m_rocket);
    UpdateBalls();
    if (m_particles.framesLeft > 0) {
        AdvanceSpray(m_particles);
        DrawSpray(m_particles);
    }
    if (m_bRocketMode == 1) UpdateRocket(m_rocket);
    if (IsStageCleared() == 1) NextStage();
    DrawLives();
    if (m_bMessage == 1) DrawTimedMessage(100);
    ItemKeys();
    DrawHud();
    DrawItemBar();
}

int CGame::Shutdown() {
    m_display.Release();
    m_sound.Destroy();
    m_keyboard.Release();
    m_mouse.Release();
    return 1;
}

void CGame::DrawField(int32_t shift) {
    for (const GameObject& cell : m_cells) {
        if (cell.x <= 0) continue;
        m_display.Blit(cell.x, cell.y + shift, m_display.GetSlotWidth(cell.sprite),
                       m_display.GetSlotHeight(cell.sprite), cell.sprite, 0, 0, kAnchorTopLeft);
    }
}

void CGame::DrawMiniMap() {
    m_display.DrawRectOutline(0, 0, 160, 120, kRed);
    for (int32_t k = 0; k < kCells; ++k) {
        if (m_cells[k].sprite > 0) {
            m_display.DrawRectOutline(20 + 8 * (k % kColumns), 20 + 3 * (k / kColumns), 8, 3, kRed);
        }
    }
    for (const Ball& ball : m_balls) {
        if (ball.inPlay == 1) m_display.DrawRectOutline(ball.x / 5, ball.y / 5, 2, 2, kGreen);
    }
}

// Horizontally centred; dy is measured from the vertically centred position.
void CGame::DrawCentred(const std::string& text, int32_t dy) {
    const int32_t n = static_cast<int32_t>(text.size());
    const int32_t x = (kScreenWidth - n * m_display.GetSlotWidth(kSlotLetter)) / 2;
    const int32_t y = (kScreenHeight - m_display.GetSlotHeight(kSlotLetter)) / 2;
    DrawString(x, y + dy, text);
}
