#include "platform/automation/InputScript.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <limits>
#include <utility>

#include "platform/base/ShownText.h"
#include "platform/devices/GameKeys.h"

namespace plat {
namespace {

struct KeyName {
    std::string_view name;
    uint8_t code;
};

// The keys the game reads, by name, in DirectInput scan codes.
#define PLINKWELL_KEY_NAME(name, code) KeyName{#name, code},
constexpr KeyName kKeyNames[] = {PLINKWELL_GAME_KEYS(PLINKWELL_KEY_NAME)};
#undef PLINKWELL_KEY_NAME

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

// Splits a line into at most kMaxTokens words; a '#' starts a comment.
constexpr size_t kMaxTokens = 5;
size_t Tokenize(std::string_view line, std::array<std::string_view, kMaxTokens>* tokens) {
    line = line.substr(0, std::min(line.find('#'), line.size()));
    size_t count = 0;
    size_t pos = 0;
    while (count < kMaxTokens) {
        pos = line.find_first_not_of(" \t\r", pos);
        if (pos == std::string_view::npos) break;
        const size_t end = std::min(line.find_first_of(" \t\r", pos), line.size());
        (*tokens)[count++] = line.substr(pos, end - pos);
        pos = end;
    }
    return count;
}

// Decimal digits only, no sign; false when empty, malformed or above limit.
bool ParseUnsigned(std::string_view text, uint64_t limit, uint64_t* value) {
    if (text.empty()) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
        if (v > limit) return false;
    }
    *value = v;
    return true;
}

bool ParseFrame(std::string_view text, uint32_t* frame) {
    uint64_t v = 0;
    if (!ParseUnsigned(text, std::numeric_limits<uint32_t>::max(), &v) || v == 0) return false;
    *frame = static_cast<uint32_t>(v);
    return true;
}

bool ParseMotion(std::string_view text, int32_t* dx) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    uint64_t v = 0;
    if (!ParseUnsigned(text, limit, &v)) return false;
    *dx = static_cast<int32_t>(negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v));
    return true;
}

bool ParseHexCode(std::string_view text, uint8_t* code) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    unsigned v = 0;
    for (char c : text.substr(2)) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        v = v * 16 + static_cast<unsigned>(digit);
        if (v > 0xFF) return false;
    }
    *code = static_cast<uint8_t>(v);
    return true;
}

bool ParseKeyCode(std::string_view text, uint8_t* code) {
    for (const KeyName& key : kKeyNames) {
        if (EqualsNoCase(text, key.name)) {
            *code = key.code;
            return true;
        }
    }
    return ParseHexCode(text, code);
}

bool ParseUpDown(std::string_view text, bool* down) {
    if (EqualsNoCase(text, "down")) {
        *down = true;
        return true;
    }
    if (EqualsNoCase(text, "up")) {
        *down = false;
        return true;
    }
    return false;
}

// A word of the script as a message shows it.
std::string Quoted(std::string_view text) {
    return "'" + ShownText(text, 40) + "'";
}

// The end of the line starting at pos and where the next one starts: lines end with LF, CR LF or a
// lone CR.
std::pair<size_t, size_t> LineEnd(std::string_view text, size_t pos) {
    const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') return {end, end + 2};
    return {end, end + 1};
}

// The version line: "# plinkwell input <n>"; only version 1 exists.
Status CheckHeader(std::string_view line) {
    constexpr std::string_view kPrefix = "# plinkwell input";
    if (line.substr(0, kPrefix.size()) != kPrefix) return Success();
    std::string_view version = line.substr(kPrefix.size());
    const size_t first = version.find_first_not_of(" \t\r");
    version = first == std::string_view::npos ? std::string_view{} : version.substr(first);
    version = version.substr(0, version.find_first_of(" \t\r"));
    if (version == "1") return Success();
    return Fail("unsupported input script version " + Quoted(version) + " (this game reads version 1)");
}

// One event line of count tokens.
Result<InputEvent> ParseEvent(const std::array<std::string_view, kMaxTokens>& t, size_t count) {
    InputEvent event;
    if (!ParseFrame(t[0], &event.frame)) {
        return Fail("bad frame number " + Quoted(t[0]) + " (a whole number from 1 to 4294967295)");
    }
    if (count < 2) return Fail("missing event after the frame number (key, mouse or button)");
    const std::string_view kind = t[1];
    size_t expected = 0;
    if (EqualsNoCase(kind, "key")) {
        expected = 4;
        event.kind = InputEvent::Kind::Key;
        if (count < expected) return Fail("key event needs: <frame> key <code> down|up");
        if (!ParseKeyCode(t[2], &event.code)) {
            return Fail("unknown key " + Quoted(t[2]) + " (a key name or a scan code 0x00 to 0xFF)");
        }
        if (!ParseUpDown(t[3], &event.down)) return Fail("expected down or up, got " + Quoted(t[3]));
    } else if (EqualsNoCase(kind, "mouse")) {
        expected = 3;
        event.kind = InputEvent::Kind::Mouse;
        if (count < expected) return Fail("mouse event needs: <frame> mouse <dx>");
        if (!ParseMotion(t[2], &event.dx)) {
            return Fail("bad mouse motion " + Quoted(t[2]) +
                        " (a whole number from -2147483648 to 2147483647)");
        }
    } else if (EqualsNoCase(kind, "button")) {
        expected = 3;
        event.kind = InputEvent::Kind::Button;
        if (count < expected) return Fail("button event needs: <frame> button down|up");
        if (!ParseUpDown(t[2], &event.down)) return Fail("expected down or up, got " + Quoted(t[2]));
    } else {
        return Fail("unknown event " + Quoted(kind) + " (key, mouse or button)");
    }
    if (count > expected) return Fail("unexpected " + Quoted(t[expected]) + " after the event");
    return event;
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

Result<std::vector<InputEvent>> ParseInputScript(std::string_view text, std::string_view source) {
    std::vector<InputEvent> events;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    uint32_t lastFrame = 1;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto [end, next] = LineEnd(text, pos);
        const std::string_view line = text.substr(pos, end - pos);
        pos = next;
        ++lineNumber;
        auto failure = [&](const std::string& problem) {
            return Fail(std::string(source) + ":" + std::to_string(lineNumber) + ": " + problem);
        };
        if (lineNumber == 1) {
            if (const Status header = CheckHeader(line); !header) return failure(header.Error());
        }
        std::array<std::string_view, kMaxTokens> tokens;
        const size_t count = Tokenize(line, &tokens);
        if (count == 0) continue;
        const Result<InputEvent> event = ParseEvent(tokens, count);
        if (!event) return failure(event.Error());
        if (event->frame < lastFrame) {
            return failure("frame " + std::to_string(event->frame) + " comes after frame " +
                           std::to_string(lastFrame) + " (frames must not decrease)");
        }
        lastFrame = event->frame;
        events.push_back(*event);
    }
    return events;
}

std::string FormatInputEvent(const InputEvent& event) {
    std::string line = std::to_string(event.frame);
    const char* state = event.down ? " down" : " up";
    switch (event.kind) {
        case InputEvent::Kind::Key: {
            const auto named = std::find_if(std::begin(kKeyNames), std::end(kKeyNames),
                                            [&](const KeyName& key) { return key.code == event.code; });
            if (named != std::end(kKeyNames)) {
                line += " key " + std::string(named->name) + state;
            } else {
                static constexpr char kHex[] = "0123456789ABCDEF";
                line += " key 0x";
                line += kHex[event.code >> 4];
                line += kHex[event.code & 0xF];
                line += state;
            }
            break;
        }
        case InputEvent::Kind::Mouse:
            line += " mouse " + std::to_string(event.dx);
            break;
        case InputEvent::Kind::Button:
            line += std::string(" button") + state;
            break;
    }
    return line;
}

InputPlayer::InputPlayer(std::vector<InputEvent> events) : m_events(std::move(events)) {}

void InputPlayer::Advance(uint32_t frame) {
    for (; m_next < m_events.size() && m_events[m_next].frame <= frame; ++m_next) {
        const InputEvent& e = m_events[m_next];
        switch (e.kind) {
            case InputEvent::Kind::Key:
                m_keys[e.code] = e.down ? 0x80 : 0;
                break;
            case InputEvent::Kind::Mouse:
                m_pendingDx = SaturatingAdd(m_pendingDx, e.dx);
                break;
            case InputEvent::Kind::Button:
                m_button = e.down;
                break;
        }
    }
}

void InputPlayer::ReadKeyboard(uint8_t state[256]) const {
    std::memcpy(state, m_keys, sizeof m_keys);
}

void InputPlayer::ReadMouse(MouseState* state) {
    *state = MouseState{};
    state->lX = m_pendingDx;
    state->rgbButtons[0] = m_button ? 0x80 : 0;
    m_pendingDx = 0;
}

InputRecorder::InputRecorder() : m_text(kInputScriptHeader) {
    m_text += '\n';
}

void InputRecorder::Keys(uint32_t frame, const uint8_t state[256]) {
    for (int code = 0; code < 256; ++code) {
        const bool down = (state[code] & 0x80) != 0;
        if (down == ((m_keys[code] & 0x80) != 0)) continue;
        m_keys[code] = down ? 0x80 : 0;
        InputEvent e;
        e.frame = frame;
        e.kind = InputEvent::Kind::Key;
        e.code = static_cast<uint8_t>(code);
        e.down = down;
        Write(e);
    }
}

void InputRecorder::Mouse(uint32_t frame, const MouseState& state) {
    if (state.lX != 0) {
        InputEvent e;
        e.frame = frame;
        e.kind = InputEvent::Kind::Mouse;
        e.dx = state.lX;
        Write(e);
    }
    const bool down = (state.rgbButtons[0] & 0x80) != 0;
    if (down != m_button) {
        m_button = down;
        InputEvent e;
        e.frame = frame;
        e.kind = InputEvent::Kind::Button;
        e.down = down;
        Write(e);
    }
}

void InputRecorder::Write(InputEvent event) {
    event.frame = std::max<uint32_t>(event.frame, 1);  // a read before the first frame belongs to it
    m_text += FormatInputEvent(event);
    m_text += '\n';
}

}  // namespace plat
