#include "platform/base/SettingsFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/base/Paths.h"

namespace plat {

std::string SettingsFolder() {
    namespace fs = std::filesystem;
#ifdef _WIN32
    // The wide variable: a narrow one is in the ANSI code page.
    const wchar_t* appData = _wgetenv(L"APPDATA");
    return appData && *appData ? Utf8FromPath(fs::path(appData) / L"Plinkwell") : "";
#else
    // A relative XDG_CONFIG_HOME is invalid and to be ignored, as the base-directory rules say.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && fs::path(xdg).is_absolute()) return Utf8FromPath(fs::path(xdg) / "plinkwell");
    const char* home = std::getenv("HOME");
    return home && *home ? Utf8FromPath(fs::path(home) / ".config" / "plinkwell") : "";
#endif
}

Status CreateFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(PathFromUtf8(folder), ec);
    if (ec) return Fail("'" + folder + "': " + ec.message());
    return Success();
}

}  // namespace plat
