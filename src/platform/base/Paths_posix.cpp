#include <system_error>

#include "platform/base/Paths.h"

namespace plat {

// A POSIX path is bytes: ours are taken as they are.
std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(utf8);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.string();
}

std::filesystem::path ExecutablePath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}

}  // namespace plat
