// Everything plinkwell does from its command line to its exit status, as a function the
// executable and the tests share: options, data directory, backend, the game, and the files
// written for automation.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/Options.h"
#include "game/CGame.h"
#include "platform/automation/Automation.h"

// The game's picture and frame interval, as the platform's backends are made with them.
inline constexpr plat::GameShape kGameShape{
    kScreenWidth, kScreenHeight, kFrameInterval,
    plat::Rect{(kScreenWidth - kItemBarWidth) / 2, kReadoutY, kItemOutlineWidth, kItemBarHeight},
    kItemCellWidth};

// Makes the windowed (interactive) backend; null when it cannot start, with the reason in problem
// when it has one.
using BackendFactory = std::function<std::unique_ptr<plat::Backend>(const Options&, std::string* problem)>;

// Lets an in-process caller (tests) look at the game during and after a run.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    // run is the run's automation layer: its sound log and kept picture.
    virtual void OnFrame(const CGame& game, uint32_t frame, plat::Automation& run) {
        (void)game, (void)frame, (void)run;
    }
    // After the main loop and the game's shutdown, with the backend still in place.
    virtual void OnFinish(const CGame& game, uint32_t frames, plat::Automation& run, plat::Backend& backend) {
        (void)game, (void)frames, (void)run, (void)backend;
    }
};

struct LaunchContext {
    BackendFactory windowed;      // empty in a build without a window backend
    std::ostream* out = nullptr;  // --help and --version; null: standard output
    std::ostream* err = nullptr;  // errors and headless message boxes; null: standard error
    RunObserver* observer = nullptr;
    std::filesystem::path executable;  // for finding the data; empty: this process's binary
};

// Runs plinkwell with the arguments after the program name; returns the exit status: 0 after a
// game, 2 for a bad command line or input script (nothing is started then), 1 when the game
// cannot start or its output files cannot be written. May change the working directory.
int RunPlinkwell(const std::vector<std::string>& args, const LaunchContext& context);

// The directory to read the game data from when no --data is given: the working directory when
// it has its own Map.dat or sprite/; otherwise the build tree's data for a binary inside that
// tree, else the installed data. Empty when the working directory is to be kept.
std::filesystem::path FindDataDirectory(const std::filesystem::path& workingDir,
                                        const std::filesystem::path& executable,
                                        const std::filesystem::path& buildDataDir,
                                        const std::filesystem::path& installedDataDir);

// The installed data directory: the one at fromBinDir beside the executable when it exists, so an
// install moved or made to another prefix still finds its own data; otherwise the configured one.
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executable,
                                             const std::filesystem::path& fromBinDir,
                                             const std::filesystem::path& configured);
