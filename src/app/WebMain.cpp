// The browser build's entry points, called by the page (index.html): a run of plinkwell with a
// command line, the page's Stop and Pause buttons, the harness's last picture, and the live game
// record for the page's tests.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/GameSnapshot.h"
#include "app/Launcher.h"
#include "app/Settings.h"
#include "platform/web/WebBackend.h"

// A headless run never waits, so on its own it would hold the page until its last frame: it hands
// the page control now and then, saying how far it got.
// clang-format off
EM_ASYNC_JS(void, plinkwell_yield, (uint32_t frame), {
    Module.plinkwellPage.progress(frame);
    await new Promise(resolve => {
        const channel = new MessageChannel();
        channel.port1.onmessage = resolve;
        channel.port2.postMessage(null);
    });
});
// clang-format on

namespace {

// How much real time a headless run takes at most before the page gets control back.
constexpr double kLongestHeadlessRunMs = 10;

// Keeps the record of the frame just run, and the last picture of a harness run.
class PageObserver : public RunObserver {
public:
    void OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) override {
        m_game = &game, m_frame = frame, m_run = &run;
        if (m_yielding && emscripten_get_now() - m_lastYield >= kLongestHeadlessRunMs) {
            plinkwell_yield(frame);
            m_lastYield = emscripten_get_now();
        }
    }
    // Whether the run hands the page control now and then (a headless one).
    void Yield(bool yielding) {
        m_yielding = yielding;
        m_lastYield = emscripten_get_now();
    }
    void OnFinish(const CGame& game, uint32_t frames, plat::Automation& run, plat::Backend&) override {
        OnFrame(game, frames, run);
        State();
        m_game = nullptr;
        m_run = nullptr;
        m_lastFrame = run.LastFrame();
    }

    uint32_t Frames() const { return m_frame; }

    const std::string& State() {
        if (m_game) {
            CaptureSnapshot(*m_game, m_frame, m_run->Sounds(), &m_snapshot);
            m_state.clear();
            AppendJson(m_snapshot, &m_state);
        }
        return m_state;
    }
    const std::vector<uint16_t>& LastFrame() const { return m_lastFrame; }

private:
    const CGame* m_game = nullptr;
    const plat::Automation* m_run = nullptr;
    uint32_t m_frame = 0;
    bool m_yielding = false;
    double m_lastYield = 0;
    GameSnapshot m_snapshot;
    std::string m_state;
    std::vector<uint16_t> m_lastFrame;
};

PageObserver g_observer;
std::string g_errors;

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

extern "C" {

// Runs plinkwell with the arguments given one a line; returns its exit status. The page's own
// backend plays when --headless is not among them.
EMSCRIPTEN_KEEPALIVE int plinkwell_run(const char* argumentLines) {
    std::ostringstream out, err;
    LaunchContext context;
    context.windowed = [](const Options& options, std::string*) {
        return plat::web::CreateWebBackend(kGameShape, options, !options.input.empty());
    };
    context.out = &out;
    context.err = &err;
    context.observer = &g_observer;
    context.executable = "/plinkwell";
    const std::vector<std::string> args = SplitLines(argumentLines);
    g_observer.Yield(std::find(args.begin(), args.end(), "--headless") != args.end());
    const int status = RunPlinkwell(args, context);
    g_errors = err.str();
    return status;
}

// The page's Stop button: ends the run in progress as a quit does.
EMSCRIPTEN_KEEPALIVE void plinkwell_stop() {
    plat::web::StopRun();
}

// The page's Pause button: holds the run in progress (1) or lets it go on (0).
EMSCRIPTEN_KEEPALIVE void plinkwell_hold(int held) {
    plat::web::HoldRun(held != 0);
}

// Where a run reads the settings file (the page writes its stored settings there first).
EMSCRIPTEN_KEEPALIVE const char* plinkwell_settings_path() {
    static const std::string path = SettingsPath();
    return path.c_str();
}

// The problem with a setting's value in the settings file's words, or "" when it is good: the
// page's settings panel checks its fields with the option table.
EMSCRIPTEN_KEEPALIVE const char* plinkwell_check_setting(const char* name, const char* value) {
    static std::string problem;
    Options scratch;
    const plat::Status set = ApplySetting(name, value, &scratch);
    problem = set ? std::string() : set.Error();
    return problem.c_str();
}

// The shop for the page's item buttons, in the order of their keys 1 to 9, 0: each item's key,
// price, name and its icon's place on the item bar's picture (sprite/ItemBar.bmp), as JSON.
EMSCRIPTEN_KEEPALIVE const char* plinkwell_shop() {
    static std::string json;
    json = "[";
    for (int cell = 0; cell < 10; ++cell) {
        for (const ShopItem& item : kShop) {
            if (item.cell != cell) continue;
            json += std::string(cell ? "," : "") + "{\"key\":\"" + std::to_string((cell + 1) % 10) +
                    "\",\"price\":" + std::to_string(item.price) + ",\"name\":\"" + item.name +
                    "\",\"x\":" + std::to_string(cell * kItemCellWidth) +
                    ",\"w\":" + std::to_string(kItemOutlineWidth) + "}";
        }
    }
    json += "]";
    return json.c_str();
}

// The game's version, for the comment line of a replay saved in the page.
EMSCRIPTEN_KEEPALIVE const char* plinkwell_version() {
    return PLINKWELL_VERSION;
}

// What the last run wrote to its error stream.
EMSCRIPTEN_KEEPALIVE const char* plinkwell_errors() {
    return g_errors.c_str();
}

// The game record of the frame just run (during a run) or of the last frame (after it), as the
// --state option writes it, without the newline.
EMSCRIPTEN_KEEPALIVE const char* plinkwell_state() {
    return g_observer.State().c_str();
}

// The number of frames the current or last run has run.
EMSCRIPTEN_KEEPALIVE uint32_t plinkwell_frames() {
    return g_observer.Frames();
}

// Puts the last run's last picture on the canvas; 0 when it kept none.
EMSCRIPTEN_KEEPALIVE int plinkwell_show_last_frame() {
    const std::vector<uint16_t>& frame = g_observer.LastFrame();
    if (frame.size() != static_cast<size_t>(kScreenWidth) * kScreenHeight) return 0;
    plat::web::ShowFrame(frame.data(), kScreenWidth, kScreenHeight);
    return 1;
}
}
