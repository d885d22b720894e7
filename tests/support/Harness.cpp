#include "support/Harness.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/Launcher.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

class Capture : public RunObserver {
public:
    Capture(HarnessResult* result, bool keepFrames) : m_result(*result), m_keepFrames(keepFrames) {}

    void OnFrame(const CGame& game, uint32_t frame) override {
        if (!m_keepFrames) return;
        m_result.perFrame.emplace_back();
        CaptureSnapshot(game, frame, &m_result.perFrame.back());
    }

    void OnFinish(const CGame& game, uint32_t frames, plat::Backend& backend) override {
        m_result.ran = true;
        m_result.frames = frames;
        CaptureSnapshot(game, frames, &m_result.finalState);
        m_result.screen = plat::LastFrame();
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

fs::path BuildDataDir() {
    return PLINKWELL_BUILD_DATADIR;
}

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

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "plinkwell-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path TempDir::Write(const std::string& name, const std::string& contents) const {
    const fs::path path = m_path / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string ReadFileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

StageCodes EmptyStage() {
    StageCodes codes;
    codes.fill(-1);
    return codes;
}

std::string MakeMapDat(const std::vector<StageCodes>& stages) {
    std::string bytes;
    auto put = [&bytes](int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
    };
    put(0);
    put(0);
    put(static_cast<int32_t>(stages.size()));
    for (const StageCodes& stage : stages) {
        for (int32_t code : stage) put(code);
    }
    return bytes;
}

TempDataDir::TempDataDir(const std::vector<StageCodes>& stages) {
    for (const char* dir : {"sprite", "sound"}) {
        std::error_code ec;
        fs::create_directory_symlink(BuildDataDir() / dir, Path() / dir, ec);
    }
    Write("Map.dat", MakeMapDat(stages));
}
