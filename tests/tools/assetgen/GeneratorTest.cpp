#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "game/Catalogue.h"
#include "tools/assetgen/DataFiles.h"

using namespace assettest;
namespace fs = std::filesystem;

namespace {

// Every file the game reads.
std::vector<std::string> GameFiles() {
    std::vector<std::string> files;
    for (const Sheet& sheet : kSheets) {
        if (std::find(files.begin(), files.end(), sheet.file) == files.end()) files.emplace_back(sheet.file);
    }
    files.insert(files.end(), std::begin(kSoundFiles), std::end(kSoundFiles));
    files.emplace_back("Map.dat");
    return files;
}

const std::vector<std::string> kFiles = GameFiles();

fs::path FreshDir(const std::string& name) {
    fs::path dir =
        fs::temp_directory_path() / ("plinkwell_assetgen_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    return dir;
}

int RunGenerator(const fs::path& dir) {
    std::string command = std::string("\"") + PLINKWELL_ASSETGEN_BINARY + "\" \"" + dir.string() + "\"";
    return std::system(command.c_str());
}

}  // namespace

TEST(Generator, BuildDataHoldsEveryFileTheGameReads) {
    for (const std::string& file : kFiles) EXPECT_TRUE(fs::is_regular_file(DataPath(file))) << file;
}

TEST(Generator, TwoRunsWriteIdenticalBytes) {
    fs::path first = FreshDir("a"), second = FreshDir("b");
    ASSERT_EQ(RunGenerator(first), 0);
    ASSERT_EQ(RunGenerator(second), 0);
    for (const std::string& file : kFiles) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> a = ReadBytes((first / file).string());
        EXPECT_FALSE(a.empty());
        EXPECT_EQ(a, ReadBytes((second / file).string()));
        EXPECT_EQ(a, ReadBytes(DataPath(file)));
    }
    fs::remove_all(first);
    fs::remove_all(second);
}

TEST(Generator, RefusesToRunWithoutAnOutputDirectory) {
    std::string command = std::string("\"") + PLINKWELL_ASSETGEN_BINARY + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}
