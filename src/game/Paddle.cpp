#include <cstdint>

#include "game/CGame.h"

namespace {

// The paddle's right end stops 3 pixels short of the screen's edge.
constexpr int32_t kPaddleRightLimit = kScreenWidth - 3;
constexpr int32_t kAnimationFrames = kPaddleFrames - 1;
constexpr int32_t kRocketSpeed = -5;

}  // namespace

int CGame::ResetPaddle() {
    m_nPaddleFrame = 0;
    m_bMurkPaddles = 0;
    m_bWidePaddle = 0;
    m_paddle.x = (kScreenWidth - m_display.GetSlotWidth(kSlotPaddle)) / 2;
    for (int i = 0; i < kTrail; ++i) {
        m_paddle.trailX[i] = m_paddle.x;
        m_paddle.trailY[i] = m_paddle.y;
    }
    return 1;
}

int CGame::UpdatePaddle(GameObject& paddle, GameObject& rocket) {
    m_mouse.ReadState();
    if (m_bWidePaddle == 1) {
        m_nPaddleFrame = kSlotWidePaddle;
        paddle.sprite = kSlotWidePaddle;
    }
    const int32_t w = m_display.GetSlotWidth(m_nPaddleFrame);
    const int32_t h = m_display.GetSlotHeight(m_nPaddleFrame);

    MovePaddle(paddle, w);
    if (m_bRocketMode == 1 && m_mouse.IsButtonDown(0) && rocket.sprite == -1) LaunchRocket(paddle, rocket, w);

    for (int i = kTrail - 1; i >= 0; --i) {
        if (m_bMurkPaddles == 1)
            m_display.Blit(paddle.trailX[i], paddle.trailY[i], w, h, m_nPaddleFrame, 0, 0, kAnchorTopLeft);
        if (i >= 1) {
            paddle.trailX[i] = paddle.trailX[i - 1];
            paddle.trailY[i] = paddle.trailY[i - 1];
        }
    }
    m_display.Blit(paddle.x, paddle.y, w, h, paddle.sprite, 0, 0, kAnchorTopLeft);
    paddle.trailX[0] = paddle.x;
    paddle.trailY[0] = paddle.y;

    if (paddle.sprite != m_nPaddleFrame) {
        if (paddle.sprite >= m_nPaddleFrame + kAnimationFrames) {
            paddle.sprite = static_cast<int8_t>(m_nPaddleFrame);
        } else {
            paddle.sprite = static_cast<int8_t>(paddle.sprite + 1);
        }
    }
    return 1;
}

// Under ball 0 in automatic mode, by the mouse otherwise; then kept on the screen. Summed in 64 bits:
// the mouse may report any motion at all.
void CGame::MovePaddle(GameObject& paddle, int32_t w) {
    int64_t x;
    if (m_bAutoPaddle == 1) {
        Ball& lead = m_balls[0];
        if (lead.launched == 0) lead.launched = 1;
        x = static_cast<int64_t>(lead.x) + m_random.Rnd(6) - 3 - w / 2;
    } else {
        x = static_cast<int64_t>(paddle.x) + m_mouse.GetDeltaX();
    }
    if (x < 0) {
        x = 0;
    } else if (x > kPaddleRightLimit - w) {
        x = kPaddleRightLimit - w;
    }
    paddle.x = static_cast<int32_t>(x);
}

void CGame::LaunchRocket(const GameObject& paddle, GameObject& rocket, int32_t w) {
    rocket.sprite = kSlotRocket;
    rocket.x = paddle.x + (w - m_display.GetSlotWidth(kSlotRocket)) / 2;
    rocket.dx = 0;
    rocket.dy = kRocketSpeed;
    rocket.y = paddle.y - m_display.GetSlotHeight(kSlotRocket);
    for (int i = 0; i < kTrail; ++i) {
        rocket.trailX[i] = rocket.x;
        rocket.trailY[i] = rocket.y;
    }
    m_sound.Play(kSoundRocket);
}
