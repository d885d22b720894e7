#include "app/Options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "platform/base/ShownText.h"

namespace {

constexpr int kMaxScale = 8;
constexpr double kMinSpeed = 0.01;
constexpr double kMaxSpeed = 100.0;
constexpr bool kSetting = true;
constexpr size_t kHelpColumn = 22;  // where the help text starts, after the two-space indent
constexpr std::array kGroups = {OptionGroup::Play, OptionGroup::Automation, OptionGroup::General};

template <typename T>
void Store(T& field, uint64_t value) {
    field = static_cast<T>(value);
}

template <typename T>
void Store(std::optional<T>& field, uint64_t value) {
    field = static_cast<T>(value);
}

// Decimal digits only, as std::from_chars reads them: no sign, no space, nothing after.
bool ParseWhole(const std::string& text, uint64_t* value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc{} && end == text.data() + text.size();
}

// What std::from_chars takes for a double ("1.5", "-2e3", ".5", "nan"), read by std::strtod since
// not every C++ library we build with has the floating-point from_chars. strtod also takes leading
// space, a plus sign and hexadecimal, which are refused first. The game never changes the C
// locale, so the decimal point is '.'.
bool ParseDecimal(const std::string& text, double* value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || text[0] == '+') return false;
    if (text.find_first_of("xX") != std::string::npos) return false;
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

std::string Quoted(const std::string& text) {
    return "'" + plat::ShownText(text) + "'";
}

// On the command line a switch comes without a value and turns its choice on; the settings file
// says true or false.
OptionTarget Switch(bool Options::*field) {
    return [field](Options& options, const std::string& value) -> plat::Status {
        if (!value.empty() && value != "true" && value != "false") {
            return plat::Fail(Quoted(value) + " is not true or false");
        }
        options.*field = value != "false";
        return plat::Success();
    };
}

OptionTarget Text(std::string Options::*field) {
    return [field](Options& options, const std::string& value) -> plat::Status {
        options.*field = value;
        return plat::Success();
    };
}

template <typename Holder, typename Field>
OptionTarget Whole(Field Holder::*field, uint64_t low, uint64_t high) {
    return [field, low, high](Options& options, const std::string& value) -> plat::Status {
        uint64_t n = 0;
        if (!ParseWhole(value, &n) || n < low || n > high) {
            return plat::Fail(Quoted(value) + " is not a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high));
        }
        Store(options.*field, n);
        return plat::Success();
    };
}

OptionTarget Decimal(double Options::*field, double low, double high) {
    return [field, low, high](Options& options, const std::string& value) -> plat::Status {
        double v = 0;
        if (!ParseDecimal(value, &v) || !std::isfinite(v) || v < low || v > high) {
            std::ostringstream range;
            range << low << " to " << high;
            return plat::Fail(Quoted(value) + " is not a number from " + range.str());
        }
        options.*field = v;
        return plat::Success();
    };
}

template <typename Holder, typename Enum>
OptionTarget OneOf(Enum Holder::*field, std::vector<std::pair<std::string, Enum>> choices) {
    return [field, choices](Options& options, const std::string& value) -> plat::Status {
        std::string names;
        for (const auto& [name, choice] : choices) {
            if (name == value) {
                options.*field = choice;
                return plat::Success();
            }
            names += (names.empty() ? "" : ", ") + name;
        }
        return plat::Fail(Quoted(value) + " is not one of " + names);
    };
}

const OptionRow* Find(std::string_view name) {
    for (const OptionRow& row : OptionTable()) {
        if (row.name == name) return &row;
    }
    return nullptr;
}

// The value of the option at *index: after '=' in the same argument, or the next argument.
plat::Result<std::string> Value(const std::string& name, const std::optional<std::string>& inlineValue,
                                const std::vector<std::string>& args, size_t* index) {
    std::string value;
    if (inlineValue) {
        value = *inlineValue;
    } else if (*index + 1 < args.size()) {
        value = args[++*index];
    }
    if (value.empty()) return plat::Fail("option " + name + " needs a value");
    return value;
}

// The option at *index, with its value; moves *index past a value given as the next argument.
plat::Status ParseOne(const std::vector<std::string>& args, size_t* index, Options* options) {
    const std::string& arg = args[*index];
    if (arg.size() < 3 || arg[0] != '-' || arg[1] != '-') {
        return plat::Fail("unexpected argument " + Quoted(arg) + " (try --help)");
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const size_t eq = name.find('='); eq != std::string::npos) {
        inlineValue = name.substr(eq + 1);
        name.resize(eq);
    }
    const OptionRow* row = Find(name);
    if (!row) return plat::Fail("unknown option " + Quoted(name) + " (try --help)");
    if (row->argument.empty() && inlineValue) return plat::Fail("option " + name + " takes no value");
    plat::Result<std::string> value =
        row->argument.empty() ? std::string() : Value(name, inlineValue, args, index);
    if (!value) return plat::Fail(value.Error());
    const plat::Status set = row->target(*options, *value);
    if (!set) return plat::Fail(name + ": " + set.Error());
    return plat::Success();
}

}  // namespace

const std::vector<OptionRow>& OptionTable() {
    using G = OptionGroup;
    using R = Options::Renderer;
    // One row an option: name, argument, help line, group, what it sets, and whether the settings
    // file may hold it.
    // clang-format off
    static const std::vector<OptionRow> kTable = {
        {"--windowed", "", "play in a window instead of full screen", G::Play, Switch(&Options::windowed), kSetting},
        {"--scale", "N", "window size as a multiple of 800x600 (1-8; 0 = largest that fits)", G::Play, Whole(&Options::scale, 0, kMaxScale), kSetting},
        {"--mouse-speed", "F", "paddle speed factor for the mouse (0.01-100, default 1)", G::Play, Decimal(&Options::mouseSpeed, kMinSpeed, kMaxSpeed), kSetting},
        {"--pad-speed", "F", "paddle speed factor for a gamepad (0.01-100, default 1)", G::Play, Decimal(&Options::padSpeed, kMinSpeed, kMaxSpeed), kSetting},
        {"--mute", "", "no sound", G::Play, Switch(&Options::mute), kSetting},
        {"--renderer", "R", "auto, software or accelerated", G::Play, OneOf(&Options::renderer, {{"auto", R::Auto}, {"software", R::Software}, {"accelerated", R::Accelerated}}), kSetting},
        {"--data", "DIR", "read sprite/, sound/ and Map.dat from DIR", G::Play, Text(&Options::data)},
        {"--verbose", "", "report the video and audio set-up on stderr", G::Play, Switch(&Options::verbose)},
        {"--whole-frames", "", "draw and present every frame whole, not only its changed parts", G::Play, Switch(&Options::wholeFrames)},
        {"--no-settings", "", "neither read the settings file nor write Alt+Enter's choice to it", G::Play, Switch(&Options::noSettings)},
        {"--input", "FILE", "play the input script FILE instead of the keyboard and mouse", G::Automation, Text(&Options::input)},
        {"--record", "FILE", "write this game's input to FILE as an input script", G::Automation, Text(&Options::record)},
        {"--headless", "", "no window, no sound device, no waiting: every pass runs a frame", G::Automation, Switch(&Options::headless)},
        {"--frames", "N", "stop after N frames (headless default 1000)", G::Automation, Whole(&Options::frames, 1, UINT32_MAX)},
        {"--state", "FILE", "write the game record as JSON after the last frame", G::Automation, Text(&Options::state)},
        {"--trace", "FILE", "write the game record as JSON after every frame, one per line", G::Automation, Text(&Options::trace)},
        {"--screenshot", "FILE", "write the last presented frame as a 24-bit BMP", G::Automation, Text(&Options::screenshot)},
        {"--help", "", "show this text", G::General, Switch(&Options::help)},
        {"--version", "", "show the version", G::General, Switch(&Options::version)},
    };
    // clang-format on
    return kTable;
}

std::string_view GroupHeading(OptionGroup group) {
    switch (group) {
        case OptionGroup::Play:
            return "Play";
        case OptionGroup::Automation:
            return "Demos and automation";
        case OptionGroup::General:
            break;
    }
    return {};
}

std::string OptionListing() {
    std::string text;
    for (const OptionGroup group : kGroups) {
        if (!text.empty()) text += '\n';
        if (!GroupHeading(group).empty()) text += std::string(GroupHeading(group)) + ":\n";
        for (const OptionRow& row : OptionTable()) {
            if (row.group != group) continue;
            std::string usage = row.argument.empty() ? row.name : row.name + " " + row.argument;
            usage.resize(std::max(kHelpColumn, usage.size() + 2), ' ');
            text += "  " + usage + row.help + "\n";
        }
    }
    return text;
}

plat::Result<Options> ParseOptions(const std::vector<std::string>& args, Options start) {
    Options options = std::move(start);
    for (size_t index = 0; index < args.size(); ++index) {
        if (args[index] == "--") {  // the end of the options: plinkwell takes no other arguments
            if (index + 1 < args.size()) return plat::Fail("unexpected argument " + Quoted(args[index + 1]));
            break;
        }
        if (const plat::Status one = ParseOne(args, &index, &options); !one) return plat::Fail(one.Error());
    }
    return options;
}

plat::Status ApplySetting(std::string_view name, const std::string& value, Options* options) {
    const OptionRow* row = Find("--" + std::string(name));
    if (!row || !row->setting) return plat::Fail("unknown setting " + Quoted(std::string(name)));
    if (value.empty()) return plat::Fail("setting " + std::string(name) + " needs a value");
    const plat::Status set = row->target(*options, value);
    if (!set) return plat::Fail(std::string(name) + ": " + set.Error());
    return plat::Success();
}

std::string UsageText() {
    return "Usage: plinkwell [options]\n"
           "A block-breaking arcade game. With no option it takes the whole screen.\n"
           "\n" +
           OptionListing() +
           "\n"
           "Input script lines: <frame> key <code> down|up, <frame> mouse <dx>, <frame> button down|up;\n"
           "key codes ESCAPE SPACE 0-9 T M P B S R I A LCONTROL PRIOR or 0x00-0xFF; '#' starts a comment.\n";
}
