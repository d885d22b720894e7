#include "platform/devices/ScaledMotion.h"

#include <cmath>

namespace plat {

int32_t ScaledMotion::Take(int32_t raw) {
    const double scaled = raw * m_speed + m_remainder;
    const double whole = std::trunc(scaled);
    m_remainder = scaled - whole;
    return static_cast<int32_t>(whole);
}

}  // namespace plat
