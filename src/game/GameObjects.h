// The plain records of the play field. Layouts follow the game record's field order.
#pragma once

#include <cstdint>

inline constexpr int kTrail = 7;

// A block cell, the paddle, the rocket.
struct GameObject {
    int32_t x;
    int32_t y;
    int32_t trailX[kTrail];  // previous positions, newest first
    int32_t trailY[kTrail];
    int32_t dx;
    int32_t dy;     // positive downward
    int8_t sprite;  // sprite slot, -1 for none
};

// A ball slot: a GameObject whose sprite byte is the in-play flag, plus three fields.
struct Ball {
    int32_t x;  // left edge
    int32_t y;  // bottom edge: the ball covers rows y - Hb .. y - 1
    int32_t trailX[kTrail];
    int32_t trailY[kTrail];
    int32_t dx;
    int32_t dy;
    int8_t inPlay;
    int32_t launched;    // 0 resting on the paddle, 1 flying
    int32_t glueOffset;  // x - paddle x when glued
    int8_t glueToggle;   // flips at every paddle contact
};

inline constexpr int kParticles = 20;

struct ParticleSpray {
    int32_t x[kParticles];
    int32_t dx[kParticles];
    int32_t y[kParticles];
    int32_t dy[kParticles];
    int32_t gravity;
    int32_t framesLeft;
    int8_t sprite;
};
