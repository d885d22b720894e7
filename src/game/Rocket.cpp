// The rocket with its exhaust, and the particle spray of a block hit.
#include "game/CGame.h"

namespace {

constexpr int32_t kRocketPoints = 10;

}  // namespace

int CGame::UpdateRocket(GameObject& rocket) {
    if (m_bRocketMode == 0) return 0;
    if (rocket.sprite != kSlotRocket) return 1;

    const int32_t w = m_display.GetSlotWidth(kSlotRocket);
    const int32_t h = m_display.GetSlotHeight(kSlotRocket);
    rocket.y += rocket.dy;
    if (rocket.y + h <= 0) {  // wholly above the screen: the launch is free again
        rocket.sprite = -1;
        return 1;
    }
    m_display.Blit(rocket.x, rocket.y, w, h, kSlotRocket, 0, 0, kAnchorTopLeft);
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
    const int32_t w = m_display.GetSlotWidth(kSlotFlame);
    const int32_t h = m_display.GetSlotHeight(kSlotFlame);
    for (int n = kTrail - 1; n >= 0; --n) {
        m_display.Blit(rocket.trailX[n], rocket.trailY[n], w, h, kSlotFlame + n, 0, 0, kAnchorTopLeft);
    }
    for (int n = kTrail - 1; n >= 1; --n) {
        rocket.trailX[n] = rocket.trailX[n - 1];
        rocket.trailY[n] = rocket.trailY[n - 1] - rocket.dy;
    }
}

// Clears the block of any kind under (px, rocket top). Returns false when the point lies outside
// the block field.
bool CGame::RocketHits(GameObject& rocket, int32_t px) {
    const int32_t column = ColumnOf(px);
    const int32_t row = RowOf(rocket.y);
    if (!InGrid(column, row)) return false;

    GameObject& cell = m_cells[row * kColumns + column];
    if (cell.sprite == kEmptyCell) return true;
    if (IsBlock(cell.sprite)) StartSpray(rocket.x, rocket.y, SprayOf(cell.sprite), m_particles);
    cell.sprite = kEmptyCell;
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
    const int32_t w = m_display.GetSlotWidth(kSlotParticle);
    const int32_t h = m_display.GetSlotHeight(kSlotParticle);
    for (int i = 0; i < kParticles; ++i) {
        m_display.Blit(spray.x[i], spray.y[i], w, h, spray.sprite, 0, 0, kAnchorTopLeft);
    }
    return 1;
}
