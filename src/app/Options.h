// The command line of plinkwell. With no option the game is exactly the original one; the
// options add automation (headless runs, input scripts, state dumps) and display comfort.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Options {
    enum class Renderer { Auto, Software, Accelerated };

    bool headless = false;
    std::optional<uint32_t> frames;  // stop after this many frames
    std::string input;               // files; empty when not given
    std::string record;
    std::string state;
    std::string trace;
    std::string screenshot;
    std::string data;
    bool windowed = false;
    int scale = 0;  // 0: the largest that fits
    double mouseSpeed = 1.0;
    bool mute = false;
    Renderer renderer = Renderer::Auto;
    bool verbose = false;
    bool help = false;
    bool version = false;
};

inline constexpr uint32_t kDefaultHeadlessFrames = 1000;

// Reads the arguments after the program name. Returns the problem in one line, or empty.
std::string ParseOptions(const std::vector<std::string>& args, Options* options);

// The --help text.
std::string UsageText();
