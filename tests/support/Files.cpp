#include "support/Files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path BuildDataDir() {
    return PLINKWELL_BUILD_DATADIR;
}

#ifdef _WIN32
// mkdtemp's twin: a random name, taken only when no one has it yet.
TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "plinkwell-test-%08x", static_cast<unsigned>(random()));
        m_path = fs::temp_directory_path() / name;
        std::error_code ec;
        if (fs::create_directory(m_path, ec)) return;
    }
    throw std::runtime_error("cannot make a temporary directory");
}
#else
TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "plinkwell-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
    m_path = pattern;
}
#endif

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

fs::path TempDir::Write(const std::string& name, const std::string& contents) const {
    fs::path path = m_path / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string ReadFileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

StageCodes EmptyStage() {
    StageCodes codes;
    codes.fill(-1);
    return codes;
}

std::string MakeMapDat(const std::vector<StageCodes>& stages) {
    std::string bytes;
    auto put = [&bytes](int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
    };
    put(0);
    put(0);
    put(static_cast<int32_t>(stages.size()));
    for (const StageCodes& stage : stages) {
        for (int32_t code : stage) put(code);
    }
    return bytes;
}

TempDataDir::TempDataDir(const std::vector<StageCodes>& stages) {
    for (const char* dir : {"sprite", "sound"}) {
        std::error_code ec;
        fs::create_directory_symlink(BuildDataDir() / dir, Path() / dir, ec);
    }
    Write("Map.dat", MakeMapDat(stages));
}
