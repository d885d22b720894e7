#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/automation/InputScript.h"

using plat::InputEvent;
using plat::InputPlayer;
using plat::InputRecorder;
using plat::MouseState;
using plat::ParseInputScript;

namespace {

std::vector<InputEvent> Parse(const std::string& text) {
    const plat::Result<std::vector<InputEvent>> events = ParseInputScript(text, "demo.txt");
    EXPECT_TRUE(events.Ok()) << events.Error();
    return events.Ok() ? *events : std::vector<InputEvent>{};
}

// The line number a refused script's message names, and the problem after it.
struct ScriptError {
    int line = 0;
    std::string message;
};

ScriptError ParseError(const std::string& text) {
    const plat::Result<std::vector<InputEvent>> events = ParseInputScript(text, "demo.txt");
    EXPECT_FALSE(events.Ok()) << text;
    if (events.Ok()) return {};
    const std::string& error = events.Error();
    constexpr std::string_view kSource = "demo.txt:";
    EXPECT_EQ(error.rfind(kSource, 0), 0u) << error;
    const size_t colon = error.find(": ");
    return {std::stoi(error.substr(kSource.size())), error.substr(colon + 2)};
}

bool KeyDown(const InputPlayer& player, int code) {
    uint8_t keys[256];
    player.ReadKeyboard(keys);
    return keys[code] & 0x80;
}

}  // namespace

TEST(InputScriptParse, ReadsEveryEventKindWithCommentsAndBlankLines) {
    const auto events = Parse(
        "# plinkwell input 1\r\n"
        "\n"
        "   # a comment line\n"
        "1 key SPACE down   # pressed at the intro\n"
        "1\tkey 0x1d down\n"
        "3 mouse -12\n"
        "3 mouse +7\r\n"
        "7 button down\n"
        "9 key prior up\n");
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].frame, 1u);
    EXPECT_EQ(events[0].kind, InputEvent::Kind::Key);
    EXPECT_EQ(events[0].code, 0x39);
    EXPECT_TRUE(events[0].down);
    EXPECT_EQ(events[1].code, 0x1D);
    EXPECT_EQ(events[2].kind, InputEvent::Kind::Mouse);
    EXPECT_EQ(events[2].dx, -12);
    EXPECT_EQ(events[3].dx, 7);
    EXPECT_EQ(events[4].kind, InputEvent::Kind::Button);
    EXPECT_TRUE(events[4].down);
    EXPECT_EQ(events[5].code, 0xC9);
    EXPECT_FALSE(events[5].down);
}

TEST(InputScriptParse, KeyNamesAreTheGamesScanCodes) {
    const std::vector<std::pair<std::string, int>> names = {
        {"ESCAPE", 0x01}, {"1", 0x02}, {"5", 0x06},     {"9", 0x0A},        {"0", 0x0B}, {"R", 0x13},
        {"T", 0x14},      {"I", 0x17}, {"P", 0x19},     {"LCONTROL", 0x1D}, {"A", 0x1E}, {"S", 0x1F},
        {"B", 0x30},      {"M", 0x32}, {"SPACE", 0x39}, {"PRIOR", 0xC9},    {"0x00", 0}, {"0xFF", 255},
    };
    for (const auto& [name, code] : names) {
        const auto events = Parse("4 key " + name + " down\n");
        ASSERT_EQ(events.size(), 1u) << name;
        EXPECT_EQ(events[0].code, code) << name;
    }
}

TEST(InputScriptParse, NumbersAtTheEdgesOfTheirRanges) {
    EXPECT_EQ(Parse("4294967295 mouse 1")[0].frame, 4294967295u);
    EXPECT_EQ(Parse("1 mouse -2147483648")[0].dx, INT32_MIN);
    EXPECT_EQ(Parse("1 mouse 2147483647")[0].dx, INT32_MAX);
    EXPECT_EQ(ParseError("4294967296 mouse 1").line, 1);
    EXPECT_EQ(ParseError("1 mouse 2147483648").line, 1);
    EXPECT_EQ(ParseError("1 mouse -2147483649").line, 1);
    EXPECT_EQ(ParseError("1 mouse 99999999999999999999999").line, 1);
    EXPECT_EQ(ParseError("1 key 0x100 down").line, 1);
    EXPECT_EQ(ParseError("1 key 0x0000000000000000001F0 down").line, 1);
}

TEST(InputScriptParse, ErrorsNameTheLineAndTheProblem) {
    struct Case {
        std::string text;
        int line;
        std::string words;
    };
    const std::vector<Case> cases = {
        {"0 key SPACE down", 1, "bad frame number '0'"},
        {"\n\n-3 key SPACE down", 3, "bad frame number '-3'"},
        {"1 key SPACE down\n5 mouse 2\n4 mouse 1", 3, "frames must not decrease"},
        {"2 key F1 down", 1, "unknown key 'F1'"},
        {"2 key 57 down", 1, "unknown key '57'"},
        {"2 key SPACE pressed", 1, "expected down or up, got 'pressed'"},
        {"2 key SPACE", 1, "key event needs"},
        {"2 mouse", 1, "mouse event needs"},
        {"2 mouse left", 1, "bad mouse motion 'left'"},
        {"2 button", 1, "button event needs"},
        {"2 button held", 1, "expected down or up"},
        {"2 wheel 3", 1, "unknown event 'wheel'"},
        {"2", 1, "missing event"},
        {"2 key SPACE down now", 1, "unexpected 'now'"},
        {"# plinkwell input 2\n1 key SPACE down", 1, "unsupported input script version '2'"},
    };
    for (const Case& c : cases) {
        const ScriptError error = ParseError(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.words), std::string::npos) << c.text << " -> " << error.message;
    }
}

// Scripts written on other systems: a byte-order mark, CR LF and CR-only line ends; and errors that
// never echo a control byte to the terminal.
TEST(InputScriptParse, ForeignTextReadsAsLinesAndErrorsShowNoControlBytes) {
    struct Case {
        std::string text;
        size_t events;  // when it parses
        int line;       // else the line of the error
        std::string words;
    };
    const std::vector<Case> cases = {
        {"\xEF\xBB\xBF# plinkwell input 1\n1 key SPACE down\n", 1, 0, ""},
        {"\xEF\xBB\xBF"
         "1 key SPACE down",
         1, 0, ""},
        {"1 key SPACE down\r\n2 mouse 5\r\n", 2, 0, ""},
        {"1 key SPACE down\r2 key SPACE up\r3 button down", 3, 0, ""},
        {"1 key SPACE down\r\r3 mouse 1\r2 mouse 1", 0, 4, "frames must not decrease"},
        {"1 key \x1b[31mX down", 0, 1, "unknown key '\\x1b[31mX'"},
        {"1 \x07\x7f\x01 3", 0, 1, "unknown event '\\x07\\x7f\\x01'"},
    };
    for (const Case& c : cases) {
        if (c.words.empty()) {
            EXPECT_EQ(Parse(c.text).size(), c.events) << c.text;
            continue;
        }
        const ScriptError error = ParseError(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_NE(error.message.find(c.words), std::string::npos) << error.message;
        for (const char ch : error.message) EXPECT_FALSE(ch >= 0 && ch < 0x20) << error.message;
    }
}

TEST(InputScriptParse, VersionLineOnlyCountsAtTheTop) {
    EXPECT_TRUE(Parse("1 key SPACE down\n# plinkwell input 7\n").size() == 1);
    EXPECT_TRUE(Parse("").empty());
}

TEST(InputPlayer, KeysHoldUntilReleasedAndTakeEffectAtTheirFrame) {
    InputPlayer player(Parse("3 key SPACE down\n6 key SPACE up\n"));
    player.Advance(1);
    EXPECT_FALSE(KeyDown(player, 0x39));
    player.Advance(2);
    EXPECT_FALSE(KeyDown(player, 0x39));
    player.Advance(3);
    EXPECT_TRUE(KeyDown(player, 0x39));
    player.Advance(5);
    EXPECT_TRUE(KeyDown(player, 0x39));
    player.Advance(6);
    EXPECT_FALSE(KeyDown(player, 0x39));
}

TEST(InputPlayer, EventsOfSkippedFramesApplyInOrder) {
    InputPlayer player(Parse("2 key ESCAPE down\n3 key ESCAPE up\n4 key T down\n"));
    player.Advance(10);
    EXPECT_FALSE(KeyDown(player, 0x01));
    EXPECT_TRUE(KeyDown(player, 0x14));
}

TEST(InputPlayer, MotionAccumulatesUntilTheNextRead) {
    InputPlayer player(Parse("1 mouse 5\n1 mouse 3\n2 mouse -1\n4 mouse 10\n"));
    MouseState m;
    player.Advance(1);
    player.Advance(2);  // no read at frame 1: its motion waits in the device
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, 7);
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, 0);  // a read hands the motion over once
    player.Advance(3);
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, 0);
    player.Advance(4);
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, 10);
    EXPECT_EQ(m.lY, 0);
}

TEST(InputPlayer, MotionSaturatesInsteadOfOverflowing) {
    InputPlayer player(Parse("1 mouse 2147483647\n1 mouse 2147483647\n2 mouse -2147483648\n2 mouse -5\n"));
    MouseState m;
    player.Advance(1);
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, INT32_MAX);
    player.Advance(2);
    player.ReadMouse(&m);
    EXPECT_EQ(m.lX, INT32_MIN);
}

TEST(InputPlayer, ButtonHoldsUntilReleased) {
    InputPlayer player(Parse("2 button down\n5 button up\n"));
    MouseState m;
    player.Advance(1);
    player.ReadMouse(&m);
    EXPECT_EQ(m.rgbButtons[0], 0);
    player.Advance(2);
    player.ReadMouse(&m);
    EXPECT_EQ(m.rgbButtons[0], 0x80);
    player.Advance(4);
    player.ReadMouse(&m);
    EXPECT_EQ(m.rgbButtons[0], 0x80);
    EXPECT_EQ(m.rgbButtons[1], 0);
    player.Advance(5);
    player.ReadMouse(&m);
    EXPECT_EQ(m.rgbButtons[0], 0);
}

TEST(InputRecorder, WritesChangesOnlyWithTheVersionLine) {
    InputRecorder recorder;
    uint8_t keys[256] = {};
    keys[0x39] = 0x80;
    recorder.Keys(1, keys);
    recorder.Keys(2, keys);  // unchanged: nothing
    keys[0x39] = 0;
    keys[0x1D] = 0x80;
    keys[0x5A] = 0x81;  // any value with bit 7 is down
    recorder.Keys(4, keys);
    MouseState m;
    recorder.Mouse(4, m);  // no motion, button up as before: nothing
    m.lX = -6;
    m.rgbButtons[0] = 0x80;
    recorder.Mouse(5, m);
    m.lX = 0;
    recorder.Mouse(6, m);
    m.rgbButtons[0] = 0;
    recorder.Mouse(9, m);
    EXPECT_EQ(recorder.Text(),
              "# plinkwell input 1\n"
              "1 key SPACE down\n"
              "4 key LCONTROL down\n"
              "4 key SPACE up\n"
              "4 key 0x5A down\n"
              "5 mouse -6\n"
              "5 button down\n"
              "9 button up\n");
}

TEST(InputRecorder, ReadsBeforeTheFirstFrameBelongToFrameOne) {
    InputRecorder recorder;
    MouseState m;
    m.lX = 3;
    recorder.Mouse(0, m);
    EXPECT_EQ(recorder.Text(), "# plinkwell input 1\n1 mouse 3\n");
}

TEST(InputRecorder, ItsScriptReplaysTheSameDeviceStates) {
    // Record what a player script gives, then play the recording: every frame must agree.
    const std::string original =
        "1 key SPACE down\n2 key SPACE up\n2 mouse 4\n3 mouse 4\n3 button down\n"
        "5 key 0xAB down\n5 mouse -9\n8 button up\n8 key ESCAPE down\n";
    InputPlayer first(Parse(original));
    InputRecorder recorder;
    std::vector<std::pair<std::vector<uint8_t>, MouseState>> seen;
    for (uint32_t frame = 1; frame <= 9; ++frame) {
        first.Advance(frame);
        std::vector<uint8_t> keys(256);
        first.ReadKeyboard(keys.data());
        recorder.Keys(frame, keys.data());
        MouseState m;
        if (frame != 4) {  // a frame without a mouse read: motion waits
            first.ReadMouse(&m);
            recorder.Mouse(frame, m);
        }
        seen.emplace_back(keys, m);
    }
    InputPlayer second(Parse(recorder.Text()));
    for (uint32_t frame = 1; frame <= 9; ++frame) {
        second.Advance(frame);
        std::vector<uint8_t> keys(256);
        second.ReadKeyboard(keys.data());
        EXPECT_EQ(keys, seen[frame - 1].first) << "frame " << frame;
        MouseState m;
        if (frame != 4) second.ReadMouse(&m);
        EXPECT_EQ(m.lX, seen[frame - 1].second.lX) << "frame " << frame;
        EXPECT_EQ(m.rgbButtons[0], seen[frame - 1].second.rgbButtons[0]) << "frame " << frame;
    }
}
