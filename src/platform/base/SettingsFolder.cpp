#include "platform/base/SettingsFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plat {
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

std::string SettingsFolder() {
    namespace fs = std::filesystem;
#ifdef _WIN32
    const std::string appData = Environment("APPDATA");
    return appData.empty() ? "" : (fs::path(appData) / "Plinkwell").string();
#else
    // A relative XDG_CONFIG_HOME is invalid and to be ignored, as the base-directory rules say.
    const std::string xdg = Environment("XDG_CONFIG_HOME");
    if (fs::path(xdg).is_absolute()) return (fs::path(xdg) / "plinkwell").string();
    const std::string home = Environment("HOME");
    return home.empty() ? "" : (fs::path(home) / ".config" / "plinkwell").string();
#endif
}

Status CreateFolder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return Fail("'" + folder + "': " + ec.message());
    return Success();
}

}  // namespace plat
