#include "app/Launcher.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <system_error>

#include "app/CGameApp.h"
#include "app/GameSnapshot.h"
#include "app/Screenshot.h"
#include "app/Settings.h"
#include "game/StageFile.h"
#include "platform/automation/Automation.h"
#include "platform/base/Files.h"
#include "platform/base/Paths.h"
#include "platform/base/RunEnd.h"
#include "platform/headless/HeadlessBackend.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

// A script is a few bytes per event; anything near this is not one (and /dev/zero never ends).
constexpr size_t kMaxInputScript = size_t{64} << 20;

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
    return plat::IsDirectory(plat::Utf8FromPath(p));
}

bool Exists(const fs::path& p) {
    return plat::Exists(plat::Utf8FromPath(p));
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

// An output naming the input script or another output would destroy it: refused (a usage error)
// before anything is opened. Pipes, terminals and devices are streams, not files to lose.
plat::Status RefuseSharedFiles(const Options& options) {
    const std::vector<NamedPath> paths = FilePaths(options);
    std::vector<plat::FileKey> keys;
    keys.reserve(paths.size());
    for (const NamedPath& p : paths) keys.push_back(plat::KeyOf(*p.path));
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].exists && !keys[i].regular) continue;
        for (size_t j = 0; j < i; ++j) {
            if (keys[i] == keys[j]) {
                return plat::Fail(std::string(paths[j].option) + " and " + paths[i].option +
                                  " name the same file '" + *paths[i].path + "'");
            }
        }
    }
    return plat::Success();
}

// The files the game reads from its data directory: the stages, every picture and every sound.
std::vector<std::string> DataFiles(const fs::path& dir) {
    std::vector<std::string> files{plat::Utf8FromPath(dir / stagefile::kFileName)};
    for (const Sheet& sheet : kSheets) files.push_back(plat::Utf8FromPath(dir / sheet.file));
    for (const char* sound : kSoundFiles) files.push_back(plat::Utf8FromPath(dir / sound));
    return files;
}

// An output naming one of the game's own data files would destroy it for this run and the next:
// refused (a usage error) before anything is opened.
plat::Status RefuseDataOutputs(const Options& options, const fs::path& dataDir) {
    std::vector<plat::FileKey> data;
    for (const std::string& file : DataFiles(dataDir)) {
        data.push_back(plat::KeyOf(file));
    }
    for (const NamedPath& p : FilePaths(options)) {
        if (p.path == &options.input) continue;
        const plat::FileKey key = plat::KeyOf(*p.path);
        if (key.exists && !key.regular) continue;
        if (std::find(data.begin(), data.end(), key) != data.end())
            return plat::Fail(std::string(p.option) + " would overwrite the game's data file '" + *p.path +
                              "'");
    }
    return plat::Success();
}

// The files of one run: the input script and everything the run writes.
class RunFiles : public FrameListener {
public:
    RunFiles(const Options& options, RunObserver* observer) : m_options(options), m_observer(observer) {}

    // Reads the input script and creates the output files; every failure is a usage error.
    plat::Status Open() {
        if (!m_options.input.empty()) {
            const plat::Result<std::string> text = plat::ReadStream(m_options.input, kMaxInputScript);
            if (!text) return plat::Fail("cannot read input script " + text.Error());
            plat::Result<std::vector<plat::InputEvent>> events =
                plat::ParseInputScript(*text, m_options.input);
            if (!events) return plat::Fail(events.Error());
            m_script.emplace(std::move(*events));
        }
        for (auto [path, file] : {std::pair{&m_options.record, &m_record},
                                  {&m_options.state, &m_state},
                                  {&m_options.trace, &m_trace},
                                  {&m_options.screenshot, &m_screenshot}}) {
            if (path->empty()) continue;
            plat::Result<plat::OutputFile> created = plat::OutputFile::Create(*path);
            if (!created) return plat::Fail("cannot write " + created.Error());
            file->emplace(std::move(*created));
        }
        return plat::Success();
    }

    // Switches on what the options ask of the run's automation.
    void Install(plat::Automation* run, bool quitAfterBudget) {
        m_run = run;
        m_quitAfterBudget = quitAfterBudget;
        run->PlayScript(m_script ? &*m_script : nullptr);
        if (m_record) run->Record(&m_recorder);
        run->LogSounds(m_state || m_trace || m_observer);
        run->KeepLastFrame(m_screenshot.has_value());
    }

    void OnFrame(const CGame& game, uint32_t frame) override {
        if (m_trace) {
            // A line carries its own frame's sounds only: the whole log is the state file's.
            const std::vector<plat::PlayedSound>& sounds = m_run->Sounds();
            CaptureSnapshot(game, frame, std::span(sounds).subspan(m_soundsTraced), &m_snapshot);
            m_soundsTraced = sounds.size();
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            m_trace->Write(m_line.data(), m_line.size());
        }
        if (m_quitAfterBudget && m_options.frames && frame >= *m_options.frames) m_run->PostQuit();
        if (m_observer) m_observer->OnFrame(game, frame, *m_run);
    }

    // Writes what is due after the last frame and puts every output in place; fails naming the
    // first file that could not be written.
    plat::Status Finish(const CGame& game, uint32_t frames) {
        if (m_state) {
            CaptureSnapshot(game, frames, m_run->Sounds(), &m_snapshot);
            m_line.clear();
            AppendJson(m_snapshot, &m_line);
            m_line += '\n';
            m_state->Write(m_line.data(), m_line.size());
        }
        if (m_screenshot) {
            std::vector<uint16_t> picture = m_run->LastFrame();
            picture.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);  // black when none was shown
            const std::vector<uint8_t> bmp = EncodeBmp24(picture.data(), kScreenWidth, kScreenHeight);
            m_screenshot->Write(bmp.data(), bmp.size());
        }
        if (m_record) m_record->Write(m_recorder.Text().data(), m_recorder.Text().size());
        // A file whose writes failed during the game (a trace filling the disk) is the one to name,
        // not one that found the disk already full after it.
        plat::Status written = plat::Success();
        bool failedEarly = false;
        for (std::optional<plat::OutputFile>* file : {&m_record, &m_state, &m_trace, &m_screenshot}) {
            if (!*file) continue;
            const bool failing = (*file)->Failed();
            const plat::Status done = (*file)->Commit();
            if (!done && (written || (failing && !failedEarly))) {
                written = plat::Fail("could not write " + done.Error());
                failedEarly = failing;
            }
        }
        return written;
    }

private:
    const Options& m_options;
    RunObserver* m_observer;
    plat::Automation* m_run = nullptr;
    std::optional<plat::InputPlayer> m_script;
    plat::InputRecorder m_recorder;
    std::optional<plat::OutputFile> m_record, m_state, m_trace, m_screenshot;
    bool m_quitAfterBudget = false;
    size_t m_soundsTraced = 0;  // the sounds of the lines already written
    GameSnapshot m_snapshot;
    std::string m_line;
};

// Relative paths name files of the starting directory: the files are opened before the data
// directory is entered, and held by descriptor from then on. A working directory that has been
// deleted has no files to name (a usage error).
plat::Status CheckWorkingDirectory(const Options& o) {
    for (const std::string* path : {&o.input, &o.record, &o.state, &o.trace, &o.screenshot, &o.data}) {
        if (path->empty() || plat::NamesDescriptor(*path) || plat::PathFromUtf8(*path).is_absolute())
            continue;
        if (plat::WorkingDirectoryIsGone())
            return plat::Fail("cannot find '" + *path + "': the working directory is gone");
    }
    return plat::Success();
}

// The data directory the run reads: --data, else the one found; empty for the working directory.
// Fails with a usage error.
plat::Result<fs::path> DataDirectory(const Options& options, const fs::path& executable) {
    if (!options.data.empty()) {
        if (const plat::Status status = plat::CheckDirectory(options.data); !status)
            return plat::Fail("--data: " + status.Error());
        return plat::PathFromUtf8(options.data);
    }
    std::error_code ec;
    const fs::path exe = executable.empty() ? plat::ExecutablePath() : executable;
    return FindDataDirectory(fs::current_path(ec), exe, plat::PathFromUtf8(PLINKWELL_BUILD_DATADIR),
                             InstalledDataDirectory(exe, plat::PathFromUtf8(PLINKWELL_DATADIR_FROM_BINDIR),
                                                    plat::PathFromUtf8(PLINKWELL_DATADIR)));
}

plat::Status EnterDataDirectory(const fs::path& dir) {
    if (dir.empty()) return plat::Success();
    std::error_code ec;
    fs::current_path(dir, ec);
    if (ec)
        return plat::Fail("cannot enter data directory '" + plat::Utf8FromPath(dir) + "': " + ec.message());
    return plat::Success();
}

// Only a player's own runs read and write the settings: never automation.
bool UsesSettings(const Options& options) {
    return !options.headless && !options.noSettings;
}

// Says what went wrong on err; returns the exit status.
int Report(std::ostream& err, const std::string& problem, int status) {
    err << "plinkwell: " << problem << '\n';
    return status;
}

int Run(const Options& options, const LaunchContext& context, std::ostream& err) {
    if (const plat::Status working = CheckWorkingDirectory(options); !working) {
        return Report(err, working.Error(), kExitUsage);
    }
    if (const plat::Status distinct = RefuseSharedFiles(options); !distinct) {
        return Report(err, distinct.Error(), kExitUsage);
    }
    const plat::Result<fs::path> dataDir = DataDirectory(options, context.executable);
    if (!dataDir) return Report(err, dataDir.Error(), kExitUsage);
    if (const plat::Status apart = RefuseDataOutputs(options, *dataDir); !apart) {
        return Report(err, apart.Error(), kExitUsage);
    }
    RunFiles files(options, context.observer);
    if (const plat::Status opened = files.Open(); !opened) return Report(err, opened.Error(), kExitUsage);
    const plat::Status entered = EnterDataDirectory(*dataDir);
    if (!entered) return Report(err, entered.Error(), kExitUsage);
    std::unique_ptr<plat::Backend> backend;
    if (options.headless) {
        backend = std::make_unique<plat::HeadlessBackend>(
            kGameShape.frameMs, options.frames.value_or(kDefaultHeadlessFrames), err);
    } else if (!context.windowed) {
        return Report(err, "this build has no window backend; use --headless", kExitUsage);
    } else if (std::string problem = "cannot start the video, input and audio services";
               !(backend = context.windowed(options, &problem))) {
        return Report(err, problem, kExitFailure);
    }

    // A player's run keeps the full-screen choice in the settings file.
    std::optional<WindowModeKeeper> keeper;
    if (UsesSettings(options)) keeper.emplace(*backend, SettingsPath(), options.windowed, err);
    plat::Automation run(keeper ? static_cast<plat::Backend&>(*keeper) : *backend);
    const plat::BackendScope installed(run);
    files.Install(&run, !options.headless);  // the headless backend keeps its own frame budget
    auto app = std::make_unique<CGameApp>();
    app->SetFrameListener(&files);
    // The outputs are written once: after the last frame, or earlier if Windows ends the session.
    plat::RunEnd ending([&] { return files.Finish(app->Game(), app->FramesRun()); });
    if (!app->InitInstance()) return Report(err, "the window could not be created", kExitFailure);
    const int status = app->Run();
    const plat::Status written = ending.Finish();
    if (context.observer) context.observer->OnFinish(app->Game(), app->FramesRun(), run, *backend);
    return written ? status : Report(err, written.Error(), kExitFailure);
}

}  // namespace

fs::path FindDataDirectory(const fs::path& workingDir, const fs::path& executable,
                           const fs::path& buildDataDir, const fs::path& installedDataDir) {
    if (Exists(workingDir / stagefile::kFileName) || IsDirectory(workingDir / "sprite")) return {};
    if (IsDirectory(buildDataDir) && IsInside(executable, buildDataDir.parent_path())) return buildDataDir;
    if (IsDirectory(installedDataDir)) return installedDataDir;
    return {};
}

fs::path InstalledDataDirectory(const fs::path& executable, const fs::path& fromBinDir,
                                const fs::path& configured) {
    if (!executable.empty()) {
        fs::path beside = (executable.parent_path() / fromBinDir).lexically_normal();
        if (IsDirectory(beside)) return beside;
    }
    return configured;
}

int RunPlinkwell(const std::vector<std::string>& args, const LaunchContext& context) {
    std::ostream& out = context.out ? *context.out : std::cout;
    std::ostream& err = context.err ? *context.err : std::cerr;
    plat::ReportWriteSignalsAsErrors();
    plat::Result<Options> options = ParseOptions(args);
    if (!options) return Report(err, options.Error(), kExitUsage);
    if (options->help || options->version) {
        out << (options->help ? UsageText() : std::string("plinkwell ") + PLINKWELL_VERSION + "\n")
            << std::flush;
        return out ? 0 : Report(err, "cannot write to standard output", kExitFailure);
    }
    if (UsesSettings(*options)) {
        const std::string path = SettingsPath();
        options = ParseOptions(args, LoadSettings(path, err));  // the command line over the file
        if (!path.empty())
            options->padMappings =
                plat::Utf8FromPath(plat::PathFromUtf8(path).parent_path() / kPadMappingsFileName);
    }
    return Run(*options, context, err);
}
