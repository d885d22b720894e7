// Mouse motion scaled by the player's speed factor, in whole units, with the fraction carried
// over to the next read so that slow, steady motion still adds up.
#pragma once

#include <cstdint>

namespace plat {

class ScaledMotion {
public:
    explicit ScaledMotion(double speed) : m_speed(speed) {}

    int32_t Take(int32_t raw);
    void Reset() { m_remainder = 0; }

private:
    double m_speed;
    double m_remainder = 0;
};

}  // namespace plat
