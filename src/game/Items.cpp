#include <cstdint>

#include "game/CGame.h"
int CGame::ItemKeys() { return 1; }

// Points only ever add up (blocks, rockets, the score command); stop at the largest value
// rather than wrap into a negative score.
void CGame::AddScore(int32_t points) {
    const int64_t sum = static_cast<int64_t>(m_nScore) + points;
    m_nScore = sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}
