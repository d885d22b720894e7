// Our own code's one way to fail: a value, or a one-line message saying what went wrong. The
// operations the game's design names keep their 1/0 returns and their texts; everything else
// (options, launcher, input scripts, stage text, file and reader internals) returns a Result.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace plat {

// The failure half: a message for the player, already in its final words.
struct Failure {
    std::string message;
};

inline Failure Fail(std::string message) {
    return Failure{std::move(message)};
}

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}

    bool Ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // Only on success.
    T& Value() { return std::get<0>(m_state); }
    const T& Value() const { return std::get<0>(m_state); }
    T& operator*() { return Value(); }
    const T& operator*() const { return Value(); }
    T* operator->() { return &Value(); }
    const T* operator->() const { return &Value(); }

    // Only on failure.
    const std::string& Error() const { return std::get<1>(m_state).message; }

private:
    std::variant<T, Failure> m_state;
};

// Success with nothing to hand back.
struct Done {};
using Status = Result<Done>;
inline Status Success() {
    return Done{};
}

}  // namespace plat
