// The bits of one trivially copyable value read as another type of the same size: std::bit_cast
// for the C++ libraries that lack it (the browser build's).
#pragma once

#include <cstring>
#include <type_traits>

namespace plat {

template <typename To, typename From>
To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From), "both types have the same size");
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

}  // namespace plat
