#include "app/Launcher.h"

#include <iostream>
#include <optional>
#include <system_error>

#include "app/CGameApp.h"
#include "app/GameSnapshot.h"
#include "app/Screenshot.h"
#include "platform/Files.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// A script is a few bytes per event; anything near this is not one (and /dev/zero never ends).
constexpr size_t kMaxInputScript = size_t{64} << 20;

// A problem that ends the launch before the game starts.
struct LaunchError {
    int status;
    std::string text;
};

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
    return plat::IsDirectory(p.string());
}

bool Exists(const fs::path& p) {
    return plat::Exists(p.string());
}

struct NamedPath {
    const char* option;
    const std::string* path;
};

// The input script and the outputs, each with its option.
std::vector<NamedPath> FilePaths(const Options& o) {
    std::vector<NamedPath> paths;
    for (NamedPath p :
         {NamedPath{"--input", &o.input}, NamedPath{"--record", &o.record}, NamedPath{"--state", &o.state},
          NamedPath{"--trace", &o.trace}, NamedPath{"--screenshot", &o.screenshot}}) {
        if (!p.path->empty()) paths.push_back(p);
    }
    return paths;
}

// An output naming the input script or another output would destroy it: refused before anything is
// opened. Pipes, terminals and devices are streams, not files to lose, and may be shared.
std::optional<LaunchError> RefuseSharedFiles(const Options& options) {
    const std::vector<NamedPath> paths = FilePaths(options);
    std::vector<plat::FileKey> keys;
    for (const NamedPath& p : paths) {
        plat::Result<plat::FileKey> key = plat::KeyOf(*p.path);
        if (!key) return LaunchError{kExitUsage, std::string(p.option) + ": " + key.Error()};
        keys.push_back(*key);
    }
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].exists && !keys[i].regular) continue;
        for (size_t j = 0; j < i; ++j) {
            if (keys[i] == keys[j]) {
                return LaunchError{kExitUsage, std::string(paths[j].option) + " and " + paths[i].option +
                                                   " name the same file '" + *paths[i].path + "'"};
            }
        }
    }
    return std::nullopt;
}

// The files of one run: the input script and everything the run writes.
class RunFiles : public FrameListener {
public:
    RunFiles(const Options& options, RunObserver* observer) : m_options(options), m_observer(observer) {}

    std::optional<LaunchError> Open() {
        if (!m_options.input.empty()) {
            plat::Result<std::string> text = plat::ReadStream(m_options.input, kMaxInputScript);
            if (!text) return LaunchError{kExitUsage, "cannot read input script " + text.Error()};
            std::vector<plat::InputEvent> events;
            plat::ScriptError error;
            if (!plat::ParseInputScript(*text, &events, &error)) {
                return LaunchError{kExitUsage,
                                   m_options.input + ":" + std::to_string(error.line) + ": " + error.message};
            }
            m_script.emplace(std::move(events));
        }
        for (auto [path, file] : {std::pair{&m_options.record, &m_record},
                                  {&m_options.state, &m_state},
                                  {&m_options.trace, &m_trace},
                                  {&m_options.screenshot, &m_screenshot}}) {
            if (path->empty()) continue;
            plat::Result<plat::OutputFile> created = plat::OutputFile::Create(*path);
            if (!created) return LaunchError{kExitUsage, "cannot write " + created.Error()};
            file->emplace(std::move(*created));
        }
        return std::nullopt;
    }

    // Switches on what the options ask of the platform core.
    void Install(bool quitAfterBudget) {
        m_quitAfterBudget = quitAfterBudget;
        plat::PlayInputScript(m_script ? &*m_script : nullptr);
        if (m_record) plat::RecordInput(&m_recorder);
        plat::EnableSoundLog(m_state || m_trace || m_observer);
        plat::KeepLastFrame(m_screenshot.has_value());
    }

    void OnFrame(const CGame& game, uint32_t frame) override {
        if (m_trace) {
            CaptureSnapshot(game, frame, &m_snapshot);
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            m_trace->Write(m_line.data(), m_line.size());
        }
        if (m_quitAfterBudget && m_options.frames && frame >= *m_options.frames) plat::PostQuitMessage();
        if (m_observer) m_observer->OnFrame(game, frame);
    }

    // Writes what is due after the last frame and puts every output in place; the first file that
    // failed, if any.
    std::optional<LaunchError> Finish(const CGame& game, uint32_t frames) {
        if (m_state) {
            CaptureSnapshot(game, frames, &m_snapshot);
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            m_state->Write(m_line.data(), m_line.size());
        }
        if (m_screenshot) {
            std::vector<uint16_t> picture = plat::LastFrame();
            picture.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);  // black when none was shown
            const std::vector<uint8_t> bmp = EncodeBmp24(picture.data(), kScreenWidth, kScreenHeight);
            m_screenshot->Write(bmp.data(), bmp.size());
        }
        if (m_record) m_record->Write(m_recorder.Text().data(), m_recorder.Text().size());
        std::optional<LaunchError> failed;
        for (std::optional<plat::OutputFile>* file : {&m_record, &m_state, &m_trace, &m_screenshot}) {
            if (!*file) continue;
            const plat::Status done = (*file)->Commit();
            if (!done && !failed) failed = LaunchError{kExitFailure, "could not write " + done.Error()};
        }
        return failed;
    }

private:
    const Options& m_options;
    RunObserver* m_observer;
    std::optional<plat::InputPlayer> m_script;
    plat::InputRecorder m_recorder;
    std::optional<plat::OutputFile> m_record, m_state, m_trace, m_screenshot;
    bool m_quitAfterBudget = false;
    GameSnapshot m_snapshot;
    std::string m_line;
};

// Resolves the output and input paths against the starting directory, before any directory change.
// A working directory that has been deleted cannot resolve them.
std::optional<LaunchError> MakePathsAbsolute(Options* o) {
    for (std::string* path : {&o->input, &o->record, &o->state, &o->trace, &o->screenshot}) {
        if (path->empty()) continue;
        std::error_code ec;
        const fs::path absolute = fs::absolute(*path, ec);
        if (ec)
            return LaunchError{kExitUsage, "cannot find '" + *path + "': the working directory is gone (" +
                                               ec.message() + ")"};
        *path = absolute.string();
    }
    return std::nullopt;
}

std::optional<LaunchError> EnterDataDirectory(const Options& options, const fs::path& executable) {
    std::error_code ec;
    fs::path dir = options.data;
    if (dir.empty()) {
        fs::path exe = executable;
        if (exe.empty()) exe = fs::read_symlink("/proc/self/exe", ec);
        dir =
            FindDataDirectory(fs::current_path(ec), exe, PLINKWELL_BUILD_DATADIR,
                              InstalledDataDirectory(exe, PLINKWELL_DATADIR_FROM_BINDIR, PLINKWELL_DATADIR));
        if (dir.empty()) return std::nullopt;
    } else if (const plat::Status status = plat::CheckDirectory(dir.string()); !status) {
        return LaunchError{kExitUsage, "--data: " + status.Error()};
    }
    fs::current_path(dir, ec);
    if (ec)
        return LaunchError{kExitUsage, "cannot enter data directory '" + dir.string() + "': " + ec.message()};
    return std::nullopt;
}

// Leaves the platform core as it found it, whatever happens to the run.
struct PlatformSession {
    PlatformSession() { plat::ResetAutomation(); }
    ~PlatformSession() { plat::ResetAutomation(); }
};

int Run(Options options, const LaunchContext& context, std::ostream& err) {
    std::optional<LaunchError> problem = MakePathsAbsolute(&options);
    if (!problem) problem = RefuseSharedFiles(options);
    if (problem) {
        err << "plinkwell: " << problem->text << '\n';
        return problem->status;
    }
    RunFiles files(options, context.observer);
    if (auto e = files.Open()) {
        err << "plinkwell: " << e->text << '\n';
        return e->status;
    }
    if (auto e = EnterDataDirectory(options, context.executable)) {
        err << "plinkwell: " << e->text << '\n';
        return e->status;
    }
    std::unique_ptr<plat::Backend> backend;
    if (options.headless) {
        backend =
            std::make_unique<plat::HeadlessBackend>(options.frames.value_or(kDefaultHeadlessFrames), err);
    } else if (!context.windowed) {
        err << "plinkwell: this build has no window backend; use --headless\n";
        return kExitUsage;
    } else if (!(backend = context.windowed(options))) {
        err << "plinkwell: cannot start the video, input and audio services\n";
        return kExitFailure;
    }

    PlatformSession session;
    plat::SetBackend(backend.get());
    files.Install(!options.headless);  // the headless backend keeps its own frame budget
    auto app = std::make_unique<CGameApp>();
    app->SetFrameListener(&files);
    if (!app->InitInstance()) {
        err << "plinkwell: the window could not be created\n";
        return kExitFailure;
    }
    const int status = app->Run();
    const std::optional<LaunchError> written = files.Finish(app->Game(), app->FramesRun());
    if (context.observer) context.observer->OnFinish(app->Game(), app->FramesRun(), *backend);
    if (written) {
        err << "plinkwell: " << written->text << '\n';
        return written->status;
    }
    return status;
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
    Options options;
    if (const std::string problem = ParseOptions(args, &options); !problem.empty()) {
        err << "plinkwell: " << problem << '\n';
        return kExitUsage;
    }
    if (options.help || options.version) {
        out << (options.help ? UsageText() : std::string("plinkwell ") + PLINKWELL_VERSION + "\n")
            << std::flush;
        if (out) return 0;
        err << "plinkwell: cannot write to standard output\n";
        return kExitFailure;
    }
    return Run(std::move(options), context, err);
}
