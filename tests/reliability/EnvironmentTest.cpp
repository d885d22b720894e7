// The environment the game is started in: where no window system can be reached, the windowed
// game says so in one line and exits 1 before it opens a window or reads a file of its data,
// unless SDL_VIDEODRIVER itself asks for a driver without a screen.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Harness.h"

namespace fs = std::filesystem;

namespace {

struct EnvironmentCase {
    const char* name;
    std::vector<std::string> env;  // set after DISPLAY, WAYLAND_DISPLAY and SDL_VIDEODRIVER are removed
    int status;
    size_t errorLines;
};

const EnvironmentCase kCases[] = {
    {"no window system at all", {}, 1, 1},
    {"DISPLAY names a server that is not running", {"DISPLAY=:4093"}, 1, 1},
    {"SDL_VIDEODRIVER asks for X without a DISPLAY", {"SDL_VIDEODRIVER=x11"}, 1, 1},
    {"SDL_VIDEODRIVER asks for the dummy driver", {"SDL_VIDEODRIVER=dummy"}, 0, 0},
    {"SDL_VIDEODRIVER asks for the offscreen driver", {"SDL_VIDEODRIVER=offscreen"}, 0, 0},
};

bool Removed(const char* entry) {
    for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "SDL_AUDIODRIVER="}) {
        if (std::strncmp(entry, name, std::strlen(name)) == 0) return true;
    }
    return false;
}

// Runs the game with env and args, standard error into errPath; returns the exit status.
int RunGame(const std::vector<std::string>& env, const std::vector<std::string>& args,
            const fs::path& errPath) {
    std::vector<std::string> environment{"SDL_AUDIODRIVER=dummy"};
    for (char** e = environ; *e; ++e) {
        if (!Removed(*e)) environment.emplace_back(*e);
    }
    environment.insert(environment.end(), env.begin(), env.end());
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(errPath.c_str(), "w", stderr)) _exit(126);
        std::vector<char*> argv, envp;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(Environment, NoReachableWindowSystemEndsWithOneLineBeforeAnythingIsRead) {
    for (const EnvironmentCase& c : kCases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        // A data directory whose every file is missing: reading any would say so on stderr.
        const fs::path data = dir / "data";
        fs::create_directory(data);
        const bool runs = c.status == 0;
        const fs::path err = dir / "stderr";
        const int status = RunGame(c.env,
                                   {PLINKWELL_GAME_BINARY, "--windowed", "--frames", "10", "--data",
                                    runs ? BuildDataDir().string() : data.string()},
                                   err);
        if (status == 2 && ReadFileText(err).find("no window backend") != std::string::npos) {
            GTEST_SKIP() << "no window backend in this build";
        }
        EXPECT_EQ(status, c.status);
        const std::vector<std::string> lines = ReadLines(err);
        EXPECT_EQ(lines.size(), c.errorLines) << ReadFileText(err);
        if (!runs && !lines.empty()) {
            EXPECT_NE(lines[0].find("window system"), std::string::npos) << lines[0];
        }
    }
}
