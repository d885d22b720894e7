#include "app/Settings.h"

#include <filesystem>

#include "platform/base/Files.h"
#include "platform/base/Paths.h"
#include "platform/base/SettingsFolder.h"

namespace {

// A settings file is a few lines; anything larger is not one.
constexpr size_t kMaxSettingsFile = size_t{1} << 20;

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool IsComment(std::string_view line) {
    return line.empty() || line[0] == '#' || line[0] == ';';
}

// The name of a `name = value` line; empty for a comment or a line without '='.
std::string_view NameOf(std::string_view line) {
    line = Trimmed(line);
    const size_t eq = line.find('=');
    return IsComment(line) || eq == std::string_view::npos ? std::string_view() : Trimmed(line.substr(0, eq));
}

plat::Status ApplyLine(std::string_view line, Options* options) {
    line = Trimmed(line);
    if (IsComment(line)) return plat::Success();
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return plat::Fail("expected 'name = value'");
    return ApplySetting(Trimmed(line.substr(0, eq)), std::string(Trimmed(line.substr(eq + 1))), options);
}

}  // namespace

std::string SettingsPath() {
    const std::string folder = plat::SettingsFolder();
    return folder.empty() ? "" : plat::Utf8FromPath(plat::PathFromUtf8(folder) / kSettingsFileName);
}

void ApplySettings(std::string_view text, const std::string& source, Options* options, std::ostream& err) {
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (const plat::Status applied = ApplyLine(line, options); !applied) {
            err << "plinkwell: " << source << ':' << number << ": " << applied.Error() << '\n';
        }
    }
}

Options LoadSettings(const std::string& path, std::ostream& err) {
    Options options;
    if (path.empty() || !plat::Exists(path)) return options;
    const plat::Result<std::string> text = plat::ReadStream(path, kMaxSettingsFile);
    if (!text) {
        err << "plinkwell: cannot read settings " << text.Error() << '\n';
        return options;
    }
    ApplySettings(*text, path, &options, err);
    return options;
}

std::string WithSetting(std::string_view text, std::string_view name, std::string_view value) {
    const std::string line = std::string(name) + " = " + std::string(value);
    std::string result;
    bool written = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view old = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (NameOf(old) != name) {
            result.append(old).append("\n");
        } else if (!written) {
            result += line + "\n";
            written = true;
        }
    }
    if (!written) result += line + "\n";
    return result;
}

void WindowModeKeeper::DispatchMessage(const plat::Message& msg) {
    Inner().DispatchMessage(msg);
    if (msg.kind != plat::MessageKind::ToggleFullscreen) return;
    m_windowed = !m_windowed;
    if (const plat::Status saved = Save(); !saved && !m_reported) {
        m_err << "plinkwell: cannot save settings: " << saved.Error() << '\n';
        m_reported = true;
    }
}

// The file as it stands with the new choice in it, written beside it and renamed into place.
plat::Status WindowModeKeeper::Save() const {
    std::string text;
    if (plat::Exists(m_path)) {
        plat::Result<std::string> old = plat::ReadStream(m_path, kMaxSettingsFile);
        if (!old) return plat::Fail(old.Error());
        text = std::move(*old);
    } else if (plat::Status made =
                   plat::CreateFolder(plat::Utf8FromPath(plat::PathFromUtf8(m_path).parent_path()));
               !made) {
        return made;
    }
    text = WithSetting(text, "windowed", m_windowed ? "true" : "false");
    plat::Result<plat::OutputFile> file = plat::OutputFile::Create(m_path);
    if (!file) return plat::Fail(file.Error());
    file->Write(text.data(), text.size());
    return file->Commit();
}
