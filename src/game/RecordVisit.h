// The game record's state, listed once: every field the state dumps show, under its own name, with
// the key the dumps write it under. CGame declares the fields in the record's own order; the
// copies (the dumps' snapshot, the benchmark's saved scene) declare theirs from this list, and
// every walk over them (the JSON writer, the copies, the soak's checks) goes through VisitRecord.
//
// A visitor is shown the same field of each record it is given (one record to write or check it,
// two to copy from one to the other). It provides:
//   Field(key, value...)        an integer or flag
//   Text(key, value...)         a string
//   Cells(key, value...)        the block field (a kind per cell)
//   Object(key, withVelocity, value...)  the paddle (no velocity) and the rocket
//   Balls(key, value...)        the ball slots
//   Spray(key, value...)        the particle spray
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <type_traits>

#include "game/CGame.h"

// F(kind, member, key) for each field, in the order the dumps write them.
#define PLINKWELL_RECORD_FIELDS(F)                   \
    F(Field, m_bStageBanner, "m_bStageBanner")       \
    F(Field, m_bGameOver, "m_bGameOver")             \
    F(Field, m_nStageCount, "m_nStageCount")         \
    F(Field, m_nStage, "m_nStage")                   \
    F(Field, m_nScore, "m_nScore")                   \
    F(Field, m_nLives, "m_nLives")                   \
    F(Field, m_nBalls, "m_nBalls")                   \
    F(Field, m_bMessage, "m_bMessage")               \
    F(Text, m_strMessage, "m_strMessage")            \
    F(Field, m_bIntro, "m_bIntro")                   \
    F(Field, m_bAutoPaddle, "m_bAutoPaddle")         \
    F(Field, m_bRocketMode, "m_bRocketMode")         \
    F(Field, m_bPierceMode, "m_bPierceMode")         \
    F(Field, m_bGlueMode, "m_bGlueMode")             \
    F(Field, m_bMurkPaddles, "m_bMurkPaddles")       \
    F(Field, m_bWidePaddle, "m_bWidePaddle")         \
    F(Field, m_nPaddleFrame, "m_nPaddleFrame")       \
    F(Field, m_nItemKeyDelay, "m_nItemKeyDelay")     \
    F(Field, m_bMiniMap, "m_bMiniMap")               \
    F(Field, m_dwLastFrame, "m_dwLastFrame")         \
    F(Field, m_dwFrameInterval, "m_dwFrameInterval") \
    F(Field, s_nBannerOffset, "s_nBannerOffset")     \
    F(Field, m_nItemBarX, "m_nItemBarX")             \
    F(Field, m_bItemBarPlaced, "m_bItemBarPlaced")   \
    F(Field, m_nPulseValue, "m_nPulseValue")         \
    F(Field, m_nPulseStep, "m_nPulseStep")           \
    F(Field, m_nMessageFrames, "m_nMessageFrames")   \
    F(Cells, m_cells, "cells")                       \
    F(Paddle, m_paddle, "paddle")                    \
    F(Rocket, m_rocket, "rocket")                    \
    F(Balls, m_balls, "balls")                       \
    F(Spray, m_particles, "particles")

#define PLINKWELL_VISIT_Field(member, key) v.Field(key, r.member...);
#define PLINKWELL_VISIT_Text(member, key) v.Text(key, r.member...);
#define PLINKWELL_VISIT_Cells(member, key) v.Cells(key, r.member...);
#define PLINKWELL_VISIT_Paddle(member, key) v.Object(key, false, r.member...);
#define PLINKWELL_VISIT_Rocket(member, key) v.Object(key, true, r.member...);
#define PLINKWELL_VISIT_Balls(member, key) v.Balls(key, r.member...);
#define PLINKWELL_VISIT_Spray(member, key) v.Spray(key, r.member...);
#define PLINKWELL_VISIT(kind, member, key) PLINKWELL_VISIT_##kind(member, key)

template <typename Visitor, typename... Records>
void VisitRecord(Visitor& v, Records&... r) {
    PLINKWELL_RECORD_FIELDS(PLINKWELL_VISIT)
}

// A copy of the record's fields, each of CGame's own type; the cells as Cell (the whole object, or
// only its kind).
template <typename Cell>
struct RecordFields {
#define PLINKWELL_HOLD(kind, member, key) PLINKWELL_HOLD_##kind(member)
#define PLINKWELL_HOLD_Cells(member) Cell member[kCells] = {};
#define PLINKWELL_HOLD_ANY(member) std::remove_cvref_t<decltype(CGame::member)> member = {};
#define PLINKWELL_HOLD_Field PLINKWELL_HOLD_ANY
#define PLINKWELL_HOLD_Text PLINKWELL_HOLD_ANY
#define PLINKWELL_HOLD_Paddle PLINKWELL_HOLD_ANY
#define PLINKWELL_HOLD_Rocket PLINKWELL_HOLD_ANY
#define PLINKWELL_HOLD_Balls PLINKWELL_HOLD_ANY
#define PLINKWELL_HOLD_Spray PLINKWELL_HOLD_ANY
    PLINKWELL_RECORD_FIELDS(PLINKWELL_HOLD)
};

#undef PLINKWELL_VISIT_Field
#undef PLINKWELL_VISIT_Text
#undef PLINKWELL_VISIT_Cells
#undef PLINKWELL_VISIT_Paddle
#undef PLINKWELL_VISIT_Rocket
#undef PLINKWELL_VISIT_Balls
#undef PLINKWELL_VISIT_Spray
#undef PLINKWELL_VISIT
#undef PLINKWELL_HOLD
#undef PLINKWELL_HOLD_Cells
#undef PLINKWELL_HOLD_ANY
#undef PLINKWELL_HOLD_Field
#undef PLINKWELL_HOLD_Text
#undef PLINKWELL_HOLD_Paddle
#undef PLINKWELL_HOLD_Rocket
#undef PLINKWELL_HOLD_Balls
#undef PLINKWELL_HOLD_Spray

// Copies every listed field from one record to another (CGame or RecordFields, either way).
struct RecordCopy {
    template <typename T>
    static void Assign(const T& from, T& to) {
        to = from;
    }
    template <typename T, size_t N>
    static void Assign(const T (&from)[N], T (&to)[N]) {
        std::copy(std::begin(from), std::end(from), to);
    }
    static void Assign(const GameObject& cell, int8_t& kind) { kind = cell.sprite; }

    template <typename T, typename U>
    void Field(const char*, const T& from, U& to) {
        Assign(from, to);
    }
    template <typename T, typename U>
    void Text(const char*, const T& from, U& to) {
        Assign(from, to);
    }
    template <typename T, typename U, size_t N>
    void Cells(const char*, const T (&from)[N], U (&to)[N]) {
        for (size_t i = 0; i < N; ++i) Assign(from[i], to[i]);
    }
    template <typename T, typename U>
    void Object(const char*, bool, const T& from, U& to) {
        Assign(from, to);
    }
    template <typename T, typename U>
    void Balls(const char*, const T& from, U& to) {
        Assign(from, to);
    }
    template <typename T, typename U>
    void Spray(const char*, const T& from, U& to) {
        Assign(from, to);
    }
};

template <typename From, typename To>
void CopyRecord(const From& from, To& to) {
    RecordCopy copy;
    VisitRecord(copy, from, to);
}
