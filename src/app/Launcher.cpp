#include "app/Launcher.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/CGameApp.h"
#include "app/GameSnapshot.h"
#include "app/Screenshot.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Describe(const std::string& path) {
    return "'" + path + "': " + std::strerror(errno);
}

plat::Result<std::string> ReadFile(const std::string& path) {
    errno = 0;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return plat::Fail("cannot read input script " + Describe(path));
    std::string text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, n);
    if (std::ferror(file.get())) return plat::Fail("cannot read input script " + Describe(path));
    return text;
}

plat::Status OpenOutput(const std::string& path, File* file) {
    if (path.empty()) return plat::Success();
    errno = 0;
    file->reset(std::fopen(path.c_str(), "wb"));
    if (!*file) return plat::Fail("cannot write " + Describe(path));
    return plat::Success();
}

bool IsInside(const fs::path& file, const fs::path& dir) {
    std::error_code ec;
    const fs::path f = fs::weakly_canonical(file, ec);
    const fs::path d = fs::weakly_canonical(dir, ec);
    if (ec || d.empty()) return false;
    auto fi = f.begin();
    for (auto di = d.begin(); di != d.end(); ++di, ++fi) {
        if (di->empty()) continue;  // a trailing separator
        if (fi == f.end() || *fi != *di) return false;
    }
    return true;
}

bool IsDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// The files of one run: the input script and everything the run writes.
class RunFiles : public FrameListener {
public:
    RunFiles(const Options& options, RunObserver* observer) : m_options(options), m_observer(observer) {}

    // Reads the input script and creates the output files; every failure is a usage error.
    plat::Status Open() {
        if (!m_options.input.empty()) {
            const plat::Result<std::string> text = ReadFile(m_options.input);
            if (!text) return plat::Fail(text.Error());
            plat::Result<std::vector<plat::InputEvent>> events =
                plat::ParseInputScript(*text, m_options.input);
            if (!events) return plat::Fail(events.Error());
            m_script.emplace(std::move(*events));
        }
        for (auto [path, file] : {std::pair{&m_options.record, &m_record},
                                  {&m_options.state, &m_state},
                                  {&m_options.trace, &m_trace},
                                  {&m_options.screenshot, &m_screenshot}}) {
            if (plat::Status opened = OpenOutput(*path, file); !opened) return opened;
        }
        return plat::Success();
    }

    // Switches on what the options ask of the platform core.
    void Install(bool quitAfterBudget) {
        m_quitAfterBudget = quitAfterBudget;
        plat::PlayInputScript(m_script ? &*m_script : nullptr);
        if (m_record) plat::RecordInput(&m_recorder);
        plat::EnableSoundLog(m_state || m_trace || m_observer);
        plat::KeepLastFrame(m_screenshot != nullptr);
    }

    void OnFrame(const CGame& game, uint32_t frame) override {
        if (m_trace) {
            CaptureSnapshot(game, frame, &m_snapshot);
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            m_written &= std::fwrite(m_line.data(), 1, m_line.size(), m_trace.get()) == m_line.size();
        }
        if (m_quitAfterBudget && m_options.frames && frame >= *m_options.frames) plat::PostQuitMessage();
        if (m_observer) m_observer->OnFrame(game, frame);
    }

    // Writes what is due after the last frame; fails when any file could not be written.
    plat::Status Finish(const CGame& game, uint32_t frames) {
        if (m_state) {
            CaptureSnapshot(game, frames, &m_snapshot);
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            Write(m_state, m_line.data(), m_line.size());
        }
        if (m_screenshot) {
            std::vector<uint16_t> picture = plat::LastFrame();
            picture.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);  // black when none was shown
            const std::vector<uint8_t> bmp = EncodeBmp24(picture.data(), kScreenWidth, kScreenHeight);
            Write(m_screenshot, bmp.data(), bmp.size());
        }
        if (m_record) Write(m_record, m_recorder.Text().data(), m_recorder.Text().size());
        for (File* file : {&m_record, &m_state, &m_trace, &m_screenshot}) {
            if (*file) m_written &= std::fclose(file->release()) == 0;
        }
        if (!m_written) return plat::Fail("could not write every output file");
        return plat::Success();
    }

private:
    void Write(const File& file, const void* data, size_t size) {
        m_written &= std::fwrite(data, 1, size, file.get()) == size;
    }

    const Options& m_options;
    RunObserver* m_observer;
    std::optional<plat::InputPlayer> m_script;
    plat::InputRecorder m_recorder;
    File m_record, m_state, m_trace, m_screenshot;
    bool m_quitAfterBudget = false;
    bool m_written = true;
    GameSnapshot m_snapshot;
    std::string m_line;
};

// Resolves the output and input paths against the starting directory, before any directory change.
void MakePathsAbsolute(Options* o) {
    for (std::string* path : {&o->input, &o->record, &o->state, &o->trace, &o->screenshot}) {
        if (!path->empty()) *path = fs::absolute(*path).string();
    }
}

// Fails with a usage error.
plat::Status EnterDataDirectory(const Options& options, const fs::path& executable) {
    std::error_code ec;
    fs::path dir = options.data;
    if (dir.empty()) {
        fs::path exe = executable;
        if (exe.empty()) exe = fs::read_symlink("/proc/self/exe", ec);
        dir =
            FindDataDirectory(fs::current_path(ec), exe, PLINKWELL_BUILD_DATADIR,
                              InstalledDataDirectory(exe, PLINKWELL_DATADIR_FROM_BINDIR, PLINKWELL_DATADIR));
        if (dir.empty()) return plat::Success();
    } else if (!IsDirectory(dir)) {
        return plat::Fail("--data: '" + options.data + "' is not a directory");
    }
    fs::current_path(dir, ec);
    if (ec) return plat::Fail("cannot enter data directory '" + dir.string() + "': " + ec.message());
    return plat::Success();
}

// Leaves the platform core as it found it, whatever happens to the run.
struct PlatformSession {
    PlatformSession() { plat::ResetAutomation(); }
    ~PlatformSession() { plat::ResetAutomation(); }
};

// Says what went wrong on err; returns the exit status.
int Report(std::ostream& err, const std::string& problem, int status) {
    err << "plinkwell: " << problem << '\n';
    return status;
}

int Run(Options options, const LaunchContext& context, std::ostream& err) {
    MakePathsAbsolute(&options);
    RunFiles files(options, context.observer);
    if (const plat::Status opened = files.Open(); !opened) return Report(err, opened.Error(), kExitUsage);
    const plat::Status entered = EnterDataDirectory(options, context.executable);
    if (!entered) return Report(err, entered.Error(), kExitUsage);
    std::unique_ptr<plat::Backend> backend;
    if (options.headless) {
        backend =
            std::make_unique<plat::HeadlessBackend>(options.frames.value_or(kDefaultHeadlessFrames), err);
    } else if (!context.windowed) {
        return Report(err, "this build has no window backend; use --headless", kExitUsage);
    } else if (!(backend = context.windowed(options))) {
        return Report(err, "cannot start the video, input and audio services", kExitFailure);
    }

    PlatformSession session;
    plat::SetBackend(backend.get());
    files.Install(!options.headless);  // the headless backend keeps its own frame budget
    auto app = std::make_unique<CGameApp>();
    app->SetFrameListener(&files);
    if (!app->InitInstance()) return Report(err, "the window could not be created", kExitFailure);
    const int status = app->Run();
    const plat::Status written = files.Finish(app->Game(), app->FramesRun());
    if (context.observer) context.observer->OnFinish(app->Game(), app->FramesRun(), *backend);
    return written ? status : Report(err, written.Error(), kExitFailure);
}

}  // namespace

fs::path FindDataDirectory(const fs::path& workingDir, const fs::path& executable,
                           const fs::path& buildDataDir, const fs::path& installedDataDir) {
    if (Exists(workingDir / "Map.dat") || IsDirectory(workingDir / "sprite")) return {};
    if (IsDirectory(buildDataDir) && IsInside(executable, buildDataDir.parent_path())) return buildDataDir;
    if (IsDirectory(installedDataDir)) return installedDataDir;
    return {};
}

fs::path InstalledDataDirectory(const fs::path& executable, const fs::path& fromBinDir,
                                const fs::path& configured) {
    if (!executable.empty()) {
        const fs::path beside = (executable.parent_path() / fromBinDir).lexically_normal();
        if (IsDirectory(beside)) return beside;
    }
    return configured;
}

int RunPlinkwell(const std::vector<std::string>& args, const LaunchContext& context) {
    std::ostream& out = context.out ? *context.out : std::cout;
    std::ostream& err = context.err ? *context.err : std::cerr;
    plat::Result<Options> options = ParseOptions(args);
    if (!options) return Report(err, options.Error(), kExitUsage);
    if (options->help) {
        out << UsageText();
        return 0;
    }
    if (options->version) {
        out << "plinkwell " << PLINKWELL_VERSION << '\n';
        return 0;
    }
    return Run(std::move(*options), context, err);
}
