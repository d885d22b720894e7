// The browser build's entry points, called by the page (index.html): a run of plinkwell with a
// command line, the harness's last picture, and the live game record for the page's tests.
#include <emscripten/emscripten.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/GameSnapshot.h"
#include "app/Launcher.h"
#include "platform/web/WebBackend.h"

namespace {

// Keeps the record of the frame just run, and the last picture of a harness run.
class PageObserver : public RunObserver {
public:
    void OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) override {
        m_game = &game, m_frame = frame, m_run = &run;
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
    context.windowed = [](const Options&, std::string*) { return plat::web::CreateWebBackend(kGameShape); };
    context.out = &out;
    context.err = &err;
    context.observer = &g_observer;
    context.executable = "/plinkwell";
    const int status = RunPlinkwell(SplitLines(argumentLines), context);
    g_errors = err.str();
    return status;
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
