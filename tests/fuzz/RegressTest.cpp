// Inputs the fuzz targets found trouble with, kept in regress/<target>/ and replayed here through
// the same operations as the target.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/CDibImage.h"
#include "support/Files.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRegress = fs::path(__FILE__).parent_path() / "regress";

std::vector<uint8_t> Bytes(const fs::path& path) {
    const std::string text = ReadFileText(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Pictures are read and painted into a slot every way the game paints them.
void PaintEveryWay(CDibImage& image) {
    Surface slot(24, 16);
    SlotDC dc{&slot};
    image.Draw(-3, 2, &dc);
    image.DrawStretched(0, 0, slot.width, slot.height, &dc);
    image.DrawPart(4, -2, 16, 15, &dc, 5, 3);
    image.DrawPartStretched(-5, 1, 40, 9, &dc, 1, 2, 11, 5);
}

#ifndef _WIN32  // limits address space in a forked child: POSIX only
bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// Bytes of address space this process has mapped.
long MappedBytes() {
    long pages = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    return pages * sysconf(_SC_PAGESIZE);
}
#endif

}  // namespace

TEST(Regress, PicturesFromTheBmpTargetReadAndPaintSafely) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kRegress / "fuzz_bmp")) {
        const std::vector<uint8_t> bytes = Bytes(entry.path());
        CDibImage image("regress.bmp", bytes.data(), bytes.size());
        PaintEveryWay(image);
        ++files;
    }
    EXPECT_GT(files, 0);
}

#ifndef _WIN32
// A 358-byte picture declares 9,764,894 by 6 one-bit pixels. Its rows cannot be in the file, and it
// is refused before memory is taken for them: with 64 MB of address space to spare (the pixels
// would need 234 MB) the reader still says the file is broken, not that memory ran out.
TEST(Regress, ATinyPictureOfMillionsOfPixelsIsRefusedBeforeItsMemoryIsTaken) {
    if (UnderSanitizer())
        GTEST_SKIP() << "the sanitizer's own mappings leave no room for an address-space limit";
    const std::vector<uint8_t> bytes = Bytes(kRegress / "fuzz_bmp" / "tiny-file-ten-million-wide.bmp");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlim_t limit = static_cast<rlim_t>(MappedBytes()) + (rlim_t{64} << 20);
        const rlimit r{limit, limit};
        if (setrlimit(RLIMIT_AS, &r) != 0) _exit(3);
        CDibImage image("tiny.bmp", bytes.data(), bytes.size());
        const bool refused =
            !image.IsLoaded() && std::strcmp(image.GetMessageText(), "tiny.bmp broken BMP file") == 0;
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the reader said something else (\"not enough memory\")";
}
#endif
