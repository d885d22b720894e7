#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "game/CGame.h"

namespace {

constexpr int32_t kRestingDy = 7;
constexpr int32_t kMaxSpeed = 8;
constexpr int32_t kBannerWaitX = 100;
constexpr int32_t kBannerWaitY = 100;
constexpr int32_t kBlockPoints = 10;

// A ball corner and the cell it falls in; points up to a cell's size left of or above the field
// truncate to column or row 0.
struct Corner {
    int32_t x;
    int32_t y;
    int32_t Column() const { return ColumnOf(x); }
    int32_t Row() const { return RowOf(y); }
    bool InField() const { return x >= kFieldLeft && x < kFieldRight && y >= kFieldTop && y < kFieldBottom; }
};

enum CornerId { kTL, kTR, kBL, kBR };
constexpr int32_t kCornerWeight[4] = {1, 2, 5, 9};

bool Inside(const Corner& p, const GameObject& cell) {
    return p.x >= cell.x && p.x < cell.x + kCellWidth && p.y >= cell.y && p.y < cell.y + kCellHeight;
}

// The cells the corners fall in, each listed once, in the order the hits are applied.
int32_t CandidateCells(const Corner c[4], int32_t column[4], int32_t row[4]) {
    const CornerId* order;
    int32_t count;
    static constexpr CornerId kOne[] = {kTL};
    static constexpr CornerId kColumn[] = {kTL, kBL};
    static constexpr CornerId kRow[] = {kTL, kTR};
    static constexpr CornerId kAll[] = {kTL, kTR, kBL, kBR};
    if (c[kTL].Column() == c[kBR].Column() && c[kTL].Row() == c[kBR].Row()) {
        order = kOne;
        count = 1;
    } else if (c[kTL].Column() == c[kTR].Column()) {
        order = kColumn;
        count = 2;
    } else if (c[kTL].Row() == c[kBL].Row()) {
        order = kRow;
        count = 2;
    } else {
        order = kAll;
        count = 4;
    }
    for (int32_t i = 0; i < count; ++i) {
        column[i] = c[order[i]].Column();
        row[i] = c[order[i]].Row();
    }
    return count;
}

// New velocity for the contact mask m (sum of the weights of the corners inside blocks).
void Bounce(Ball& ball, int32_t m, int32_t r) {
    switch (m) {
        case 1:
            ball.dx = std::abs(ball.dx + r);
            ball.dy = std::abs(ball.dy);
            break;
        case 2:
            ball.dx = -std::abs(ball.dx + r);
            ball.dy = std::abs(ball.dy);
            break;
        case 3:
        case 14:
            ball.dy = -ball.dy;
            break;
        case 5:
            ball.dx = std::abs(ball.dx + r);
            ball.dy = -std::abs(ball.dy);
            break;
        case 6:
        case 11:
            ball.dx = -ball.dx;
            break;
        case 9:
            ball.dx = -std::abs(ball.dx + r);
            ball.dy = -std::abs(ball.dy);
            break;
        case 7:
        case 8:
        case 10:
        case 12:
        case 15:
        case 16:
            ball.dx = -(ball.dx + r);
            ball.dy = -ball.dy;
            break;
        case 17:
            ball.dx = ball.dx + r;
            break;
        default:
            break;
    }
}

// The first of the eight zones of width g whose range holds h; the outer zones are open-ended.
int32_t ZoneOf(int32_t h, int32_t g) {
    for (int32_t zone = 0; zone < 7; ++zone) {
        if (static_cast<int64_t>(h) < static_cast<int64_t>(zone + 1) * g) return zone;
    }
    return 7;
}

void SetTrail(Ball& ball) {
    for (int i = 0; i < kTrail; ++i) {
        ball.trailX[i] = ball.x;
        ball.trailY[i] = ball.y;
    }
}

// One velocity component made |delta| faster or slower, keeping its direction (0 counts as negative).
int32_t ChangeSpeed(int32_t v, int32_t delta, int32_t floor) {
    const int64_t w = v;
    if (delta < 0)
        return static_cast<int32_t>(v > 0 ? std::max(w + delta, int64_t{floor})
                                          : std::min(w - delta, int64_t{-floor}));
    return static_cast<int32_t>(v > 0 ? std::min(w + delta, int64_t{kMaxSpeed})
                                      : std::max(w - delta, int64_t{-kMaxSpeed}));
}

}  // namespace

// A resting ball sits over the point of the paddle that is as far along the paddle as the paddle's
// centre is along the screen.
void CGame::LaunchPoint(int32_t* x, int32_t* y) {
    const int32_t w = m_display.GetSlotWidth(m_nPaddleFrame);
    const int32_t px = m_paddle.x;
    *x = px + (w * (px + w / 2)) / kScreenWidth - m_display.GetSlotWidth(kSlotBall) / 2;
    *y = m_paddle.y - 1;
}

int CGame::ResetBalls() {
    m_nBalls = 1;
    int32_t x, y;
    LaunchPoint(&x, &y);
    for (Ball& ball : m_balls) {
        ball.inPlay = 0;
        ball.x = x;
        ball.y = y;
        SetTrail(ball);
        ball.dx = 0;
        ball.dy = kRestingDy;
        ball.launched = 0;
        ball.glueOffset = 0;
        ball.glueToggle = 0;
    }
    m_balls[0].inPlay = 1;
    m_bGlueMode = 0;
    m_bPierceMode = 0;
    m_bAutoPaddle = 0;
    m_bRocketMode = 0;
    m_rocket.sprite = -1;
    return 1;
}

int CGame::UpdateBalls() {
    if (m_nBalls <= 0) {
        ResetPaddle();
        ResetBalls();
        m_nLives = static_cast<int8_t>(m_nLives - 1);
        m_sound.Play(kSoundGiggle);
        if (m_nLives <= 0) m_bGameOver = 1;
    }
    if (m_bStageBanner == 0 && m_mouse.IsButtonDown(0)) {
        for (Ball& ball : m_balls) ball.launched = 1;
    }
    for (Ball& ball : m_balls) {
        if (ball.inPlay != 1) continue;
        if (ball.launched == 1 && m_bStageBanner == 0) {
            StepBall(ball);
        } else if (ball.launched == 0 && m_bGlueMode == 1) {
            ball.x = m_paddle.x + ball.glueOffset;
            ball.y = m_paddle.y - 1;
        } else if (ball.launched == 0 && m_bGlueMode == 0) {
            LaunchPoint(&ball.x, &ball.y);
        } else if (ball.launched == 1 && m_bStageBanner == 1) {
            ball.x = kBannerWaitX;
            ball.y = kBannerWaitY;
        }
        DrawBall(ball);
    }
    return 1;
}

int CGame::StepBall(Ball& ball) {
    const int32_t wb = m_display.GetSlotWidth(kSlotBall);
    const int32_t hb = m_display.GetSlotHeight(kSlotBall);
    ball.x += ball.dx;
    ball.y += ball.dy;
    PaddleContact(ball, wb);
    if (m_bMurkPaddles == 1) MurkContacts(ball, wb);
    WallContacts(ball, wb, hb);

    const Corner corners[4] = {
        {ball.x, ball.y - hb}, {ball.x + wb, ball.y - hb}, {ball.x, ball.y}, {ball.x + wb, ball.y}};
    if (!std::any_of(corners, corners + 4, [](const Corner& c) { return c.InField(); })) return 1;

    int32_t column[4], row[4];
    const int32_t count = CandidateCells(corners, column, row);
    int32_t m = 0;
    bool counted[4] = {false, false, false, false};
    for (int32_t i = 0; i < count; ++i) {
        if (!InGrid(column[i], row[i])) continue;
        const GameObject& cell = m_cells[kColumns * row[i] + column[i]];
        if (!IsBlock(cell.sprite)) continue;
        for (int corner = kTL; corner <= kBR; ++corner) {
            if (!counted[corner] && Inside(corners[corner], cell)) {
                counted[corner] = true;
                m += kCornerWeight[corner];
            }
        }
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!InGrid(column[i], row[i])) continue;
        GameObject& cell = m_cells[kColumns * row[i] + column[i]];
        if (IsBlock(cell.sprite)) HitCell(cell);
    }

    if (m_bPierceMode != 0) return 1;
    if (m > 0) {
        if (ball.dy == 0) ball.dy = m_random.Rnd(3) - 1;
        if (ball.dx == 0) ball.dx = m_random.Rnd(3) - 1;
    }
    const int32_t r = m_random.Rnd(3) - 1;
    Bounce(ball, m, r);
    return 1;
}

// The paddle turns the ball up and steers it by the eighth of the paddle it meets.
void CGame::PaddleContact(Ball& ball, int32_t wb) {
    const int32_t px = m_paddle.x;
    const int32_t py = m_paddle.y;
    const int32_t w = m_display.GetSlotWidth(m_nPaddleFrame);
    const int32_t h = m_display.GetSlotHeight(m_nPaddleFrame);
    if (!(ball.y >= py && ball.y <= py + h && ball.x + wb >= px && ball.x <= px + w)) return;

    if (ball.dy > 0) ball.dy = -ball.dy;
    const int32_t g = w / 8;
    const int32_t zone = ZoneOf(ball.x + wb / 2 - px, g);
    if (zone < 4) {
        static constexpr int32_t kLeftTurn[4] = {0, -3, -2, -1};
        if (ball.dx > -kMaxSpeed) ball.dx = zone == 0 ? -kMaxSpeed : ball.dx + kLeftTurn[zone];
    } else {
        static constexpr int32_t kRightTurn[4] = {1, 2, 3, 0};
        if (ball.dx < kMaxSpeed) ball.dx = zone == 7 ? kMaxSpeed : ball.dx + kRightTurn[zone - 4];
    }
    m_paddle.sprite = static_cast<int8_t>(m_nPaddleFrame + 1);
    m_sound.Play(kSoundVantler);
    if (ball.glueToggle == 1 && m_bGlueMode == 1) GlueBall(ball, ball.x - px);
    ball.glueToggle = static_cast<int8_t>(1 - ball.glueToggle);
}

// The trailing paddle images send a ball back up, once for every position it touches.
void CGame::MurkContacts(Ball& ball, int32_t wb) {
    const int32_t py = m_paddle.y;
    const int32_t w = m_display.GetSlotWidth(m_nPaddleFrame);
    const int32_t h = m_display.GetSlotHeight(m_nPaddleFrame);
    for (int i = 0; i <= 5; ++i) {
        const int32_t tx = m_paddle.trailX[i];
        if (ball.y >= py && ball.y <= py + h && ball.x + wb >= tx && ball.x <= tx + w) {
            if (ball.dy > 0) ball.dy = -ball.dy;
            m_paddle.sprite = static_cast<int8_t>(m_nPaddleFrame + 1);
            m_sound.Play(kSoundVantler);
        }
    }
}

void CGame::WallContacts(Ball& ball, int32_t wb, int32_t hb) {
    if (ball.x < 0 || ball.x + wb >= kScreenWidth) {
        ball.x = ball.x < 0 ? 0 : kScreenWidth - wb;
        ball.dx = -ball.dx;
        if (ball.dy == 0) ball.dy = m_random.Rnd(3) - 1;
        m_sound.Play(kSoundBounce);
    }
    if (ball.y - hb < 0) {
        ball.y = hb;
        ball.dy = -ball.dy;
        if (ball.dx == 0) ball.dx = m_random.Rnd(3) - 1;
        m_sound.Play(kSoundBounce);
    } else if (ball.y >= kScreenHeight) {
        ball.inPlay = 0;
        m_nBalls -= 1;
    }
}

void CGame::HitCell(GameObject& cell) {
    m_display.DrawBevelBox(cell.x, cell.y, kCellWidth, kCellHeight, 10, 255, 255, 255);
    const int8_t kind = cell.sprite;
    switch (kind) {
        case BlockGold:
            if (m_bPierceMode == 1) {
                cell.sprite = kEmptyCell;
                m_sound.Play(kSoundBlock);
            } else {
                m_sound.Play(kSoundMetal);
            }
            break;
        case BlockSilver:
            cell.sprite = Broken;
            m_sound.Play(kSoundMetal);
            AddScore(kBlockPoints);
            break;
        default:
            cell.sprite = kEmptyCell;
            m_sound.Play(kSoundBlock);
            AddScore(kBlockPoints);
            break;
    }
    StartSpray(cell.x + kCellWidth / 2, cell.y + 7, SprayOf(kind), m_particles);
}

int CGame::DrawBall(Ball& ball) {
    const int32_t wb = m_display.GetSlotWidth(kSlotBall);
    const int32_t hb = m_display.GetSlotHeight(kSlotBall);
    for (int i = kTrail - 1; i >= 0; --i) {
        m_display.Blit(ball.trailX[i], ball.trailY[i], wb, hb, kSlotBallTrail + i, 0, 0, kAnchorBottomLeft);
        if (i >= 1) {
            ball.trailX[i] = ball.trailX[i - 1];
            ball.trailY[i] = ball.trailY[i - 1];
        }
    }
    m_display.Blit(ball.x, ball.y, wb, hb, kSlotBall, 0, 0, kAnchorBottomLeft);
    ball.trailX[0] = ball.x;
    ball.trailY[0] = ball.y;
    return 1;
}

int CGame::GlueBall(Ball& ball, int32_t offset) {
    ball.glueOffset = offset;
    ball.x = m_paddle.x + offset;
    ball.y = m_paddle.y - 1;
    SetTrail(ball);
    ball.dy = kRestingDy;
    ball.dx = 0;
    ball.inPlay = 1;
    ball.launched = 0;
    return 1;
}

int CGame::BranchBalls() {
    if (m_nBalls > kBranchLimit) return 0;
    for (int32_t i = 0; i < kMaxBalls; ++i) {
        if (m_balls[i].inPlay == 1) continue;
        for (int32_t j = i + 1; j < kMaxBalls; ++j) {
            if (m_balls[j].inPlay == 1) {
                m_balls[i] = m_balls[j];
                m_balls[j].inPlay = 0;
                break;
            }
        }
    }
    for (int32_t j = 0; j < m_nBalls; ++j) {
        const Ball& from = m_balls[j];
        Ball& to = m_balls[m_nBalls + j];
        to.x = from.x;
        to.y = from.y;
        SetTrail(to);
        to.dx = from.dx + (m_random.Rnd(2) == 0 ? 1 : -1);
        to.dy = from.dy + (m_random.Rnd(2) == 0 ? 1 : -1);
        to.inPlay = from.inPlay;
        to.glueOffset = from.glueOffset;
        to.glueToggle = from.glueToggle;
        to.launched = from.launched;
    }
    m_nBalls *= 2;
    return 1;
}

int CGame::ChangeBallSpeed(int32_t delta) {
    for (Ball& ball : m_balls) {
        if (ball.inPlay != 1) continue;
        ball.dy = ChangeSpeed(ball.dy, delta, 2);
        ball.dx = ChangeSpeed(ball.dx, delta, 1);
    }
    return 1;
}

int CGame::StartSpray(int32_t x, int32_t y, int8_t sprite, ParticleSpray& spray) {
    spray.gravity = 1;
    spray.framesLeft = 20;
    spray.sprite = sprite;
    for (int i = 0; i < kParticles; ++i) {
        spray.x[i] = x + m_random.Rnd(5) - 2;
        spray.y[i] = y + m_random.Rnd(5) - 2;
        spray.dx[i] = m_random.Rnd(7) - 3;
        spray.dy[i] = -3 - m_random.Rnd(8);
    }
    return 1;
}
