// The rocket with its exhaust, and the particle spray of a block hit.
#include "game/CGame.h"

namespace {

constexpr int32_t kTopLeft = 4;  // Blit anchor
constexpr SlotIndex kRocketSlot = 64;
constexpr SlotIndex kFirstFlame = 65;
constexpr SlotIndex kFirstParticle = 72;
constexpr int kSoundBlock = 1;
constexpr int32_t kRocketPoints = 10;

constexpr int32_t kFieldLeft = 100;
constexpr int32_t kFieldTop = 55;
constexpr int32_t kCellWidth = 40;
constexpr int32_t kCellHeight = 15;

constexpr SlotIndex kFirstBlock = 18;
constexpr SlotIndex kLastBlock = 24;

// The particle frame for each block kind, plain to broken.
constexpr int8_t kSprayOfBlock[] = {72, 73, 74, 75, 76, 72, 72};

}  // namespace

int CGame::UpdateRocket(GameObject& rocket) {
    if (m_bRocketMode == 0) return 0;
    if (rocket.sprite != kRocketSlot) return 1;

    const int32_t w = m_display.GetSlotWidth(kRocketSlot);
    const int32_t h = m_display.GetSlotHeight(kRocketSlot);
    rocket.y += rocket.dy;
    if (rocket.y + h <= 0) {  // wholly above the screen: the launch is free again
        rocket.sprite = -1;
        return 1;
    }
    m_display.Blit(rocket.x, rocket.y, w, h, kRocketSlot, 0, 0, kTopLeft);
    DrawExhaust(rocket);
    rocket.trailX[0] = rocket.x + 1 + m_random.Rnd(3);
    rocket.trailY[0] = rocket.y + h - 4;

    // Both top corners, left first; a corner outside the field ends the test.
    if (!RocketHits(rocket, rocket.x)) return 0;
    if (!RocketHits(rocket, rocket.x + w)) return 0;
    return 1;
}

// Draws the flames oldest first, then moves each into the place of the next newer one, 5 pixels lower.
void CGame::DrawExhaust(GameObject& rocket) {
    const int32_t w = m_display.GetSlotWidth(kFirstFlame);
    const int32_t h = m_display.GetSlotHeight(kFirstFlame);
    for (int n = kTrail - 1; n >= 0; --n) {
        m_display.Blit(rocket.trailX[n], rocket.trailY[n], w, h, kFirstFlame + n, 0, 0, kTopLeft);
    }
    for (int n = kTrail - 1; n >= 1; --n) {
        rocket.trailX[n] = rocket.trailX[n - 1];
        rocket.trailY[n] = rocket.trailY[n - 1] - rocket.dy;
    }
}

// Clears the block of any kind under (px, rocket top). Returns false when the point lies outside
// the block field.
bool CGame::RocketHits(GameObject& rocket, int32_t px) {
    const int32_t column = (px - kFieldLeft) / kCellWidth;
    const int32_t row = (rocket.y - kFieldTop) / kCellHeight;
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return false;

    GameObject& cell = m_cells[row * kColumns + column];
    if (cell.sprite == -1) return true;
    if (cell.sprite >= kFirstBlock && cell.sprite <= kLastBlock) {
        StartSpray(rocket.x, rocket.y, kSprayOfBlock[cell.sprite - kFirstBlock], m_particles);
    }
    cell.sprite = -1;
    m_sound.Play(kSoundBlock);
    AddScore(kRocketPoints);
    return true;
}

int CGame::AdvanceSpray(ParticleSpray& spray) {
    if (spray.framesLeft > 0) --spray.framesLeft;
    for (int i = 0; i < kParticles; ++i) {
        spray.x[i] += spray.dx[i];
        spray.y[i] += spray.dy[i];
        spray.dy[i] += spray.gravity;
    }
    return 1;
}

// Every particle is drawn at the size of the first particle frame.
int CGame::DrawSpray(ParticleSpray& spray) {
    if (spray.framesLeft < 0) return 0;
    const int32_t w = m_display.GetSlotWidth(kFirstParticle);
    const int32_t h = m_display.GetSlotHeight(kFirstParticle);
    for (int i = 0; i < kParticles; ++i) {
        m_display.Blit(spray.x[i], spray.y[i], w, h, spray.sprite, 0, 0, kTopLeft);
    }
    return 1;
}
