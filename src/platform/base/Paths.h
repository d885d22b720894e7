// Paths between our UTF-8 strings and std::filesystem. On Windows a path made from a narrow string
// is read in the ANSI code page, so Korean or accented names would break: every path above the
// platform is made and read back here, from and to UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace plat {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// This process's own program file; empty when the system cannot tell.
std::filesystem::path ExecutablePath();

}  // namespace plat
