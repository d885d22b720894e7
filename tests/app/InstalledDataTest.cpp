// Where an installed game finds its data: beside its own binary first, so that any prefix works.
#include <gtest/gtest.h>

#include "app/Launcher.h"
#include "support/Files.h"

namespace fs = std::filesystem;

TEST(InstalledData, TheDataBesideTheBinaryComesFirst) {
    TempDir prefix;
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/plinkwell");
    EXPECT_EQ(InstalledDataDirectory(prefix / "bin/plinkwell", "../share/plinkwell", "/usr/share/plinkwell"),
              prefix / "share/plinkwell");
}

TEST(InstalledData, WithoutDataBesideTheBinaryTheConfiguredPlaceIsUsed) {
    TempDir prefix;
    fs::create_directories(prefix / "bin");
    EXPECT_EQ(InstalledDataDirectory(prefix / "bin/plinkwell", "../share/plinkwell", "/usr/share/plinkwell"),
              fs::path("/usr/share/plinkwell"));
    EXPECT_EQ(InstalledDataDirectory(fs::path(), "../share/plinkwell", "/usr/share/plinkwell"),
              fs::path("/usr/share/plinkwell"));
}

TEST(InstalledData, TheBuildTreesOwnDataStillWinsOverAnInstall) {
    TempDir build, prefix;
    fs::create_directories(build / "data");
    fs::create_directories(prefix / "share/plinkwell");
    TempDir cwd;
    const fs::path installed =
        InstalledDataDirectory(build / "plinkwell", "../share/plinkwell", prefix / "share/plinkwell");
    EXPECT_EQ(FindDataDirectory(cwd.Path(), build / "plinkwell", build / "data", installed), build / "data");
}
