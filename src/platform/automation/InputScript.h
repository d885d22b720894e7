// Input scripts: a game's keyboard and mouse input as text, one event per line, so that a played
// game can be recorded and replayed exactly (demos, scenario tests).
//
//   # plinkwell input 1          first line, names the format's version (optional when reading)
//   <frame> key <code> down|up   code: ESCAPE SPACE 1..9 0 T M P B S R I A LCONTROL PRIOR, or 0x00..0xFF
//   <frame> mouse <dx>           horizontal motion made before the frame
//   <frame> button down|up       the left mouse button
//
// Frame 1 is the first frame the game runs; events for frame f take effect before frame f runs.
// Keys and the button hold until changed; motion accumulates until the mouse is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/base/Result.h"

namespace plat {

inline constexpr std::string_view kInputScriptHeader = "# plinkwell input 1";

struct InputEvent {
    enum class Kind : uint8_t { Key, Mouse, Button };
    uint32_t frame = 0;
    Kind kind = Kind::Key;
    uint8_t code = 0;   // Key: DirectInput scan code
    bool down = false;  // Key, Button
    int32_t dx = 0;     // Mouse
};

// Reads a whole script. A failure names the first bad line as "<source>:<line>: <problem>".
Result<std::vector<InputEvent>> ParseInputScript(std::string_view text, std::string_view source);

// The script line of one event, without the newline.
std::string FormatInputEvent(const InputEvent& event);

// Plays a parsed script back as device state.
class InputPlayer {
public:
    explicit InputPlayer(std::vector<InputEvent> events);

    // Applies every event up to and including frame; earlier events are never applied twice.
    void Advance(uint32_t frame);
    void ReadKeyboard(uint8_t state[256]) const;
    // Hands over the motion gathered since the previous read, and the button.
    void ReadMouse(MouseState* state);

private:
    std::vector<InputEvent> m_events;
    size_t m_next = 0;
    uint8_t m_keys[256] = {};
    int32_t m_pendingDx = 0;
    bool m_button = false;
};

// Writes what the game read as a script: key changes per frame, motion as read, button changes.
class InputRecorder {
public:
    InputRecorder();

    // The keyboard as the game sees it for the whole of frame.
    void Keys(uint32_t frame, const uint8_t state[256]);
    // One mouse read made during frame.
    void Mouse(uint32_t frame, const MouseState& state);
    const std::string& Text() const { return m_text; }

private:
    void Write(InputEvent event);

    std::string m_text;
    uint8_t m_keys[256] = {};
    bool m_button = false;
};

}  // namespace plat
