#include "app/Options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

constexpr int kMaxScale = 8;
constexpr double kMinMouseSpeed = 0.01;
constexpr double kMaxMouseSpeed = 100.0;

// A plain decimal number: digits, an optional fraction and exponent, an optional leading minus.
// strtod alone would also take spaces, a plus sign and hexadecimal; floating-point from_chars is
// not in every C++ library we build with.
bool ParseDecimal(const std::string& text, double* value) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos || text[0] == '+') {
        return false;
    }
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

struct Parser {
    const std::vector<std::string>& args;
    size_t index = 0;
    Options* options;
    std::string problem;

    bool Fail(std::string text) {
        problem = std::move(text);
        return false;
    }

    // The value of the option at index: after '=' in the same argument, or the next argument.
    bool Value(std::string_view name, const std::optional<std::string>& inline_, std::string* value) {
        if (inline_) {
            *value = *inline_;
        } else if (index + 1 < args.size()) {
            *value = args[++index];
        } else {
            return Fail("option " + std::string(name) + " needs a value");
        }
        if (value->empty()) return Fail("option " + std::string(name) + " needs a value");
        return true;
    }

    bool Whole(std::string_view name, const std::string& text, uint64_t low, uint64_t high, uint64_t* out) {
        uint64_t v = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc{} || end != text.data() + text.size() || v < low || v > high) {
            return Fail(std::string(name) + ": '" + text + "' is not a whole number from " +
                        std::to_string(low) + " to " + std::to_string(high));
        }
        *out = v;
        return true;
    }

    bool MouseSpeed(const std::string& text) {
        double v = 0;
        if (!ParseDecimal(text, &v) || !std::isfinite(v) || v < kMinMouseSpeed || v > kMaxMouseSpeed) {
            return Fail("--mouse-speed: '" + text + "' is not a number from 0.01 to 100");
        }
        options->mouseSpeed = v;
        return true;
    }

    bool Renderer(const std::string& text) {
        if (text == "auto") {
            options->renderer = Options::Renderer::Auto;
        } else if (text == "software") {
            options->renderer = Options::Renderer::Software;
        } else if (text == "accelerated") {
            options->renderer = Options::Renderer::Accelerated;
        } else {
            return Fail("--renderer: '" + text + "' is not one of auto, software, accelerated");
        }
        return true;
    }

    bool Flag(std::string_view name, const std::optional<std::string>& inline_, bool* flag) {
        if (inline_) return Fail("option " + std::string(name) + " takes no value");
        *flag = true;
        return true;
    }

    bool One() {
        const std::string& arg = args[index];
        if (arg.size() < 3 || arg[0] != '-' || arg[1] != '-') {
            return Fail("unexpected argument '" + arg + "' (try --help)");
        }
        std::string_view name = arg;
        std::optional<std::string> inline_;
        if (const size_t eq = name.find('='); eq != std::string_view::npos) {
            inline_ = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        Options& o = *options;
        if (name == "--headless") return Flag(name, inline_, &o.headless);
        if (name == "--windowed") return Flag(name, inline_, &o.windowed);
        if (name == "--mute") return Flag(name, inline_, &o.mute);
        if (name == "--verbose") return Flag(name, inline_, &o.verbose);
        if (name == "--help") return Flag(name, inline_, &o.help);
        if (name == "--version") return Flag(name, inline_, &o.version);
        std::string* file = nullptr;
        if (name == "--input") file = &o.input;
        if (name == "--record") file = &o.record;
        if (name == "--state") file = &o.state;
        if (name == "--trace") file = &o.trace;
        if (name == "--screenshot") file = &o.screenshot;
        if (name == "--data") file = &o.data;
        if (file) return Value(name, inline_, file);
        std::string value;
        if (name == "--frames") {
            uint64_t n = 0;
            if (!Value(name, inline_, &value) || !Whole(name, value, 1, UINT32_MAX, &n)) return false;
            o.frames = static_cast<uint32_t>(n);
            return true;
        }
        if (name == "--scale") {
            uint64_t n = 0;
            if (!Value(name, inline_, &value) || !Whole(name, value, 0, kMaxScale, &n)) return false;
            o.scale = static_cast<int>(n);
            return true;
        }
        if (name == "--mouse-speed") return Value(name, inline_, &value) && MouseSpeed(value);
        if (name == "--renderer") return Value(name, inline_, &value) && Renderer(value);
        return Fail("unknown option '" + std::string(name) + "' (try --help)");
    }
};

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, Options* options) {
    *options = Options{};
    Parser parser{args, 0, options, {}};
    for (; parser.index < args.size(); ++parser.index) {
        if (!parser.One()) return parser.problem;
    }
    return {};
}

std::string UsageText() {
    return "Usage: plinkwell [options]\n"
           "A block-breaking arcade game. With no option it takes the whole screen.\n"
           "\n"
           "Play:\n"
           "  --windowed            play in a window instead of full screen\n"
           "  --scale N             window size as a multiple of 800x600 (1-8; 0 = largest that fits)\n"
           "  --mouse-speed F       paddle speed factor for the mouse (0.01-100, default 1)\n"
           "  --mute                no sound\n"
           "  --renderer R          auto, software or accelerated\n"
           "  --data DIR            read sprite/, sound/ and Map.dat from DIR\n"
           "  --verbose             report the video and audio set-up on stderr\n"
           "\n"
           "Demos and automation:\n"
           "  --input FILE          play the input script FILE instead of the keyboard and mouse\n"
           "  --record FILE         write this game's input to FILE as an input script\n"
           "  --headless            no window, no sound device, no waiting: every pass runs a frame\n"
           "  --frames N            stop after N frames (headless default 1000)\n"
           "  --state FILE          write the game record as JSON after the last frame\n"
           "  --trace FILE          write the game record as JSON after every frame, one per line\n"
           "  --screenshot FILE     write the last presented frame as a 24-bit BMP\n"
           "\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Input script lines: <frame> key <code> down|up, <frame> mouse <dx>, <frame> button down|up;\n"
           "key codes ESCAPE SPACE 0-9 T M P B S R I A LCONTROL PRIOR or 0x00-0xFF; '#' starts a comment.\n";
}
