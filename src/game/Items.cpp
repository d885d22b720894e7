// The score shop on the number keys and the command keys that change the game for free.
#include <cstdint>

#include "game/CGame.h"
#include "input/DIK.h"

namespace {

constexpr int32_t kWideShift = 30;  // centres the 136-pixel paddle where the 76-pixel one was
constexpr int32_t kAutoSpeedStep = 8;
constexpr int8_t kMaxLives = INT8_MAX;

// The keys from 3 up, asked for in this order; keys 1 and 2 are handled apart.
constexpr int kItemKeyOrder[] = {0, 9, 8, 7, 6, 5, 4, 3};

}  // namespace

int CGame::ItemKeys() {
    if (m_nItemKeyDelay >= 0) --m_nItemKeyDelay;  // rests at -1 when nothing happens
    if (m_bStageBanner == 0) {
        if (m_nItemKeyDelay > 0) return 1;
        RunShop();
    }
    CommandKeys();
    return 1;
}

void CGame::RunShop() {
    for (const int item : kItemKeyOrder) {
        if (m_keyboard.IsKeyDown(kShop[item].key)) {
            HandleItem(item);
            return;
        }
    }
    PaddleKeys();
}

// Items 4, 5, 7 and 8 switch a mode on; asked for again while it is on they only hold the keys for
// a while (or refuse, when the score could not have paid). An extra life past the largest count the
// lives can hold is treated the same way, so the player is never charged for nothing.
void CGame::HandleItem(int item) {
    const int32_t price = kShop[item].price;
    if (IsItemInForce(item)) {
        if (m_nScore >= price) {
            m_nItemKeyDelay = kItemKeyDelay;
        } else {
            RefuseItem();
        }
    } else if (m_nScore < price) {
        RefuseItem();
    } else {
        BuyItem(item);
    }
}

bool CGame::IsItemInForce(int item) const {
    switch (item) {
        case 4:
            return m_bGlueMode == 1;
        case 5:
            return m_bPierceMode == 1;
        case 7:
            return m_bRocketMode == 1;
        case 8:
            return m_bAutoPaddle == 1;
        case 9:
            return m_nLives == kMaxLives;
        default:
            return false;
    }
}

// Keys 1 and 2, read only when no other item key is down. An owned paddle item is not refused:
// the keys simply do nothing and the command keys still get their turn.
void CGame::PaddleKeys() {
    if (m_nScore < kShop[1].price) {
        if (m_keyboard.IsKeyDown(kShop[1].key) || m_keyboard.IsKeyDown(kShop[2].key)) RefuseItem();
    } else if (m_bWidePaddle == 0 && m_keyboard.IsKeyDown(kShop[1].key)) {
        BuyItem(1);
    } else if (m_bMurkPaddles == 0 && m_keyboard.IsKeyDown(kShop[2].key)) {
        BuyItem(2);
    }
}

void CGame::BuyItem(int item) {
    ApplyItem(item);
    m_nScore -= kShop[item].price;  // the price was compared first, so the score stays >= 0
    if (kShop[item].message != nullptr) {
        m_strMessage = kShop[item].message;
        m_bMessage = 1;
    }
    m_sound.Play(kSoundUseItem);
    m_nItemKeyDelay = kItemKeyDelay;
}

void CGame::RefuseItem() {
    m_bMessage = 1;
    m_strMessage = "NOT ENOUGH SCORE";
    m_sound.Play(kSoundNotEnough);
    m_nItemKeyDelay = kItemKeyDelay;
}

void CGame::ApplyItem(int item) {
    switch (item) {
        case 0:
            NextStage();
            break;
        case 1:
            m_bWidePaddle = 1;
            m_paddle.x -= kWideShift;
            break;
        case 2:
            m_bMurkPaddles = 1;
            break;
        case 3:
            BranchBalls();  // with too many balls it splits nothing; the price is paid all the same
            break;
        case 4:
            StartGlue();
            break;
        case 5:
            m_bPierceMode = 1;
            break;
        case 6:
            BranchAll();
            break;
        case 7:
            m_bRocketMode = 1;
            break;
        case 8:
            m_bAutoPaddle = 1;
            ChangeBallSpeed(kAutoSpeedStep);
            break;
        case 9:
            ++m_nLives;
            break;
    }
}

// Every ball catches on its next paddle contact; a resting ball stays where it sits.
void CGame::StartGlue() {
    m_bGlueMode = 1;
    for (Ball& ball : m_balls) {
        if (ball.launched == 0) ball.glueOffset = ball.x - m_paddle.x;
        ball.glueToggle = 1;
    }
}

// Split until more than 32 balls are in play. A split that adds no ball (none left in play, in the
// frame the last one was lost) ends it: that purchase is one split of nothing, paid like item 3's.
void CGame::BranchAll() {
    while (m_nBalls <= kBranchLimit) {
        const int32_t before = m_nBalls;
        BranchBalls();
        if (m_nBalls <= before) break;
    }
}

bool CGame::IsCtrlKeyDown(int key) {
    return m_keyboard.IsKeyDown(DIK_LCONTROL) == 1 && m_keyboard.IsKeyDown(key) == 1;
}

// At most one command per frame, and none in a frame the shop acted in (its delay is then set).
void CGame::CommandKeys() {
    if (m_nItemKeyDelay > 0) return;
    if (RunCommandKey()) m_nItemKeyDelay = kItemKeyDelay;
}

bool CGame::RunCommandKey() {
    if (m_keyboard.IsKeyDown(DIK_T)) {
        for (Ball& ball : m_balls) {
            if (ball.inPlay == 1) ++ball.dx;
        }
    } else if (IsCtrlKeyDown(DIK_M)) {
        m_bMiniMap = static_cast<int8_t>(1 - m_bMiniMap);
    } else if (IsCtrlKeyDown(DIK_P)) {
        m_bPierceMode = 1;
    } else if (IsCtrlKeyDown(DIK_B)) {
        BranchBalls();
    } else if (IsCtrlKeyDown(DIK_S)) {
        AddScore(1000);
    } else if (IsCtrlKeyDown(DIK_R)) {
        NewGame();
    } else if (IsCtrlKeyDown(DIK_I)) {
        ResetBalls();
    } else if (m_bStageBanner == 0 && IsCtrlKeyDown(DIK_PRIOR)) {
        NextStage();
    } else if (IsCtrlKeyDown(DIK_A)) {
        m_bAutoPaddle = static_cast<int8_t>(1 - m_bAutoPaddle);
    } else {
        return false;
    }
    return true;
}

// Points only ever add up (blocks, rockets, the score command); stop at the largest value
// rather than wrap into a negative score.
void CGame::AddScore(int32_t points) {
    const int64_t sum = static_cast<int64_t>(m_nScore) + points;
    m_nScore = sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}
