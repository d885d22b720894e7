// The command line of plinkwell. With no option the game is exactly the original one; the
// options add automation (headless runs, input scripts, state dumps) and display comfort.
//
// Every option is one row of the option table (Options.cpp). That row parses the option, writes
// its line in --help, and tools/optionsdoc writes the manual page's OPTIONS section and the
// README's options block from it (`cmake --build build --target docs`; ctest OptionDocs fails
// while they differ).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "platform/base/Result.h"

// The play options a windowed backend takes are its own DisplayOptions, handed to it as they are.
struct Options : plat::DisplayOptions {
    bool headless = false;
    std::optional<uint32_t> frames;  // stop after this many frames
    std::string input;               // files; empty when not given
    std::string record;
    std::string state;
    std::string trace;
    std::string screenshot;
    std::string data;
    bool noSettings = false;  // neither read nor write the settings file
    bool help = false;
    bool version = false;
};

inline constexpr uint32_t kDefaultHeadlessFrames = 1000;

// Where an option is listed; the groups are listed in this order.
enum class OptionGroup { Play, Automation, General };

// Sets an option's field from its value (empty for a switch); the failure names the value only,
// the parser puts the option's name in front.
using OptionTarget = std::function<plat::Status(Options& options, const std::string& value)>;

struct OptionRow {
    std::string name;      // "--scale"
    std::string argument;  // "N"; empty for a switch, which takes no value
    std::string help;      // one line, lower case, no full stop
    OptionGroup group;
    OptionTarget target;
    bool setting = false;  // a comfort option, which the settings file may hold too
};

// Every option, in the order --help lists them within their group.
const std::vector<OptionRow>& OptionTable();

// The heading of a group in --help; empty for the last group (help and version).
std::string_view GroupHeading(OptionGroup group);

// The groups with their headings and options, as --help shows them, blank lines between groups.
std::string OptionListing();

// Reads the arguments after the program name over start (the defaults, or the settings file's
// choices); a failure is the problem in one line.
plat::Result<Options> ParseOptions(const std::vector<std::string>& args, Options start = {});

// Sets the setting name (an option's name without its dashes) from the settings file's value; a
// switch takes true or false. A failure is the problem in one line.
plat::Status ApplySetting(std::string_view name, const std::string& value, Options* options);

// The --help text.
std::string UsageText();
