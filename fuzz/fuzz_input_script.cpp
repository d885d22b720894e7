// Arbitrary text through the input script reader. Whatever it accepts must survive being
// written back out: formatting every event gives the same events, and a recording of the
// script's play replays to the same device states.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/InputScript.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool SameEvent(const plat::InputEvent& a, const plat::InputEvent& b) {
    if (a.frame != b.frame || a.kind != b.kind) return false;
    switch (a.kind) {
        case plat::InputEvent::Kind::Key:
            return a.code == b.code && a.down == b.down;
        case plat::InputEvent::Kind::Mouse:
            return a.dx == b.dx;
        case plat::InputEvent::Kind::Button:
            return a.down == b.down;
    }
    return false;
}

std::vector<plat::InputEvent> MustParse(const std::string& text) {
    plat::Result<std::vector<plat::InputEvent>> events = plat::ParseInputScript(text, "fuzz");
    Check(events.Ok());
    return std::move(*events);
}

struct FrameState {
    uint8_t keys[256];
    plat::MouseState mouse;
};

// The device states of a script at each frame in frames: keyboard, then one mouse read.
std::vector<FrameState> Play(const std::vector<plat::InputEvent>& events, const std::vector<uint32_t>& frames,
                             plat::InputRecorder* recorder) {
    plat::InputPlayer player(events);
    std::vector<FrameState> states(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        player.Advance(frames[i]);
        player.ReadKeyboard(states[i].keys);
        player.ReadMouse(&states[i].mouse);
        if (recorder) {
            recorder->Keys(frames[i], states[i].keys);
            recorder->Mouse(frames[i], states[i].mouse);
        }
    }
    return states;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const plat::Result<std::vector<plat::InputEvent>> parsed = plat::ParseInputScript(text, "fuzz");
    if (!parsed) {
        // "fuzz:<line>: <problem>", the line counted from 1.
        const std::string& error = parsed.Error();
        Check(error.rfind("fuzz:", 0) == 0 && error.size() > 5 && error[5] >= '1' && error[5] <= '9');
        return 0;
    }
    const std::vector<plat::InputEvent>& events = *parsed;

    std::string formatted(plat::kInputScriptHeader);
    formatted += '\n';
    std::vector<uint32_t> frames;
    for (size_t i = 0; i < events.size(); ++i) {
        Check(events[i].frame >= 1 && (i == 0 || events[i].frame >= events[i - 1].frame));
        formatted += plat::FormatInputEvent(events[i]) + "\n";
        if (frames.empty() || frames.back() != events[i].frame) frames.push_back(events[i].frame);
    }
    const std::vector<plat::InputEvent> again = MustParse(formatted);
    Check(again.size() == events.size());
    for (size_t i = 0; i < events.size(); ++i) Check(SameEvent(events[i], again[i]));

    plat::InputRecorder recorder;
    const std::vector<FrameState> played = Play(events, frames, &recorder);
    const std::vector<FrameState> replayed = Play(MustParse(recorder.Text()), frames, nullptr);
    for (size_t i = 0; i < frames.size(); ++i) {
        Check(std::memcmp(played[i].keys, replayed[i].keys, sizeof played[i].keys) == 0);
        Check(played[i].mouse.lX == replayed[i].mouse.lX);
        Check(played[i].mouse.rgbButtons[0] == replayed[i].mouse.rgbButtons[0]);
    }
    return 0;
}
