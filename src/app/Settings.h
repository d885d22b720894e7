// The settings file: the comfort options a player keeps between runs (window or full screen, scale,
// mouse and pad speed, sound, renderer), one `name = value` line each, named after the long options
// of the option table, which gives them their ranges and error texts. The command line wins over
// it; --headless and --no-settings runs neither read nor write it.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "app/Options.h"
#include "platform/Platform.h"

inline constexpr std::string_view kSettingsFileName = "settings.ini";
// The player's own gamepad mappings, in SDL's text format, beside the settings.
inline constexpr std::string_view kPadMappingsFileName = "gamecontrollerdb.txt";

// The settings file's path; empty when the environment names no settings folder.
std::string SettingsPath();

// Applies the file's lines over options. Each malformed line is reported on err as
// "plinkwell: <source>:<line>: <problem>" and skipped.
void ApplySettings(std::string_view text, const std::string& source, Options* options, std::ostream& err);

// The defaults with the settings file's choices over them; a file that cannot be read is reported
// on err in one line and ignored, as is a missing one (silently).
Options LoadSettings(const std::string& path, std::ostream& err);

// text with name's lines set to value, or a line for it added at the end; every other line kept.
std::string WithSetting(std::string_view text, std::string_view name, std::string_view value);

// Over the window's backend: writes the full-screen choice (Alt+Enter) back to the settings file,
// atomically. A file that cannot be written is reported on err once; play goes on untouched.
class WindowModeKeeper final : public plat::ForwardingBackend {
public:
    WindowModeKeeper(plat::Backend& inner, std::string path, bool windowed, std::ostream& err)
        : ForwardingBackend(inner), m_path(std::move(path)), m_windowed(windowed), m_err(err) {}

    void DispatchMessage(const plat::Message& msg) override;

private:
    plat::Status Save() const;

    std::string m_path;
    bool m_windowed;
    std::ostream& m_err;
    bool m_reported = false;
};
