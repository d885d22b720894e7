#include "support/Harness.h"

#include <sstream>

#include "app/Launcher.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

class Capture : public RunObserver {
public:
    Capture(HarnessResult* result, bool keepFrames) : m_result(*result), m_keepFrames(keepFrames) {}

    void OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) override {
        if (!m_keepFrames) return;
        m_result.perFrame.emplace_back();
        CaptureSnapshot(game, frame, run.Sounds(), &m_result.perFrame.back());
    }

    void OnFinish(const CGame& game, uint32_t frames, plat::Automation& run,
                  plat::Backend& backend) override {
        m_result.ran = true;
        m_result.frames = frames;
        CaptureSnapshot(game, frames, run.Sounds(), &m_result.finalState);
        m_result.screen = run.LastFrame();
        if (auto* headless = dynamic_cast<plat::HeadlessBackend*>(&backend)) {
            m_result.messages = headless->Messages();
            m_result.presents = headless->Presents();
        }
    }

private:
    HarnessResult& m_result;
    bool m_keepFrames;
};

bool HasOption(const std::vector<std::string>& args, const std::string& name) {
    for (const std::string& a : args) {
        if (a == name || a.rfind(name + "=", 0) == 0) return true;
    }
    return false;
}

}  // namespace

HarnessResult RunHeadless(const std::vector<std::string>& args, const HarnessOptions& options) {
    std::vector<std::string> full{"--headless"};
    full.insert(full.end(), args.begin(), args.end());
    if (!HasOption(args, "--data")) {
        full.push_back("--data");
        full.push_back(BuildDataDir().string());
    }
    TempDir scratch;
    if (!options.script.empty()) {
        full.push_back("--input");
        full.push_back(scratch.Write("input.txt", options.script).string());
    }

    HarnessResult result;
    Capture capture(&result, options.keepFrames);
    std::ostringstream out, err;
    LaunchContext context;
    context.out = &out;
    context.err = &err;
    context.observer = &capture;
    const fs::path startDir = fs::current_path();
    result.exitCode = RunPlinkwell(full, context);
    fs::current_path(startDir);
    result.err = err.str();
    return result;
}
