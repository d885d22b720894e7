#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/DataFiles.h"

using namespace assettest;
namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {
    "sprite/VantlerAni.bmp",
    "sprite/Ball.bmp",
    "sprite/Block.bmp",
    "sprite/BlockRed.bmp",
    "sprite/BlockGreen.bmp",
    "sprite/BlockBlue.bmp",
    "sprite/BlockGold.bmp",
    "sprite/BlockSilver.bmp",
    "sprite/Broken.bmp",
    "sprite/BG.bmp",
    "sprite/Number.bmp",
    "sprite/Alphabet.bmp",
    "sprite/ItemBar.bmp",
    "sprite/Life.bmp",
    "sprite/Bullet.bmp",
    "sprite/BulletExt.bmp",
    "sprite/Particle.bmp",
    "sprite/MurkVantler.bmp",
    "sprite/Intro.bmp",
    "sound/Vantler.wav",
    "sound/Block.wav",
    "sound/Bounce.wav",
    "sound/Metal.wav",
    "sound/Start.wav",
    "sound/UseItem.wav",
    "sound/Giggle.wav",
    "sound/Rocket.wav",
    "sound/NotEnough.wav",
    "Map.dat",
};

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
    for (const char* file : kFiles) EXPECT_TRUE(fs::is_regular_file(DataPath(file))) << file;
}

TEST(Generator, TwoRunsWriteIdenticalBytes) {
    fs::path first = FreshDir("a"), second = FreshDir("b");
    ASSERT_EQ(RunGenerator(first), 0);
    ASSERT_EQ(RunGenerator(second), 0);
    for (const char* file : kFiles) {
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
