// Hostile data files at full size, through the built game: a FIFO, a 100 GB sparse sound, a 4 GB
// sparse picture and the widest picture the reader takes. ctest runs this executable under a time
// limit and (outside sanitizer builds) an address-space limit of 1 GiB, so a reader that blocks,
// walks a whole file or allocates what a header claims fails here.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int64_t kGiB = int64_t{1} << 30;

std::string Le32(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}
std::string Le16(uint16_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

// The headers of a 24-bit picture; declaredSize 0 means the true size.
std::string BmpHeader(int32_t width, int32_t height, uint32_t declaredSize = 0) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t size = declaredSize ? declaredSize : 54 + stride * static_cast<uint32_t>(height);
    return "BM" + Le32(size) + Le32(0) + Le32(54) + Le32(40) + Le32(static_cast<uint32_t>(width)) +
           Le32(static_cast<uint32_t>(height)) + Le16(1) + Le16(24) + Le32(0) + Le32(0) + Le32(0) + Le32(0) +
           Le32(0) + Le32(0);
}

// A 16-bit stereo 44.1 kHz sound whose data chunk claims dataSize bytes.
std::string WavHeader(uint32_t dataSize) {
    return "RIFF" + Le32(36 + dataSize) + "WAVE" + "fmt " + Le32(16) + Le16(1) + Le16(2) + Le32(44100) +
           Le32(44100 * 4) + Le16(4) + Le16(16) + "data" + Le32(dataSize);
}

// Writes head and makes the file size bytes long; the rest is a hole.
void WriteSparse(const fs::path& path, const std::string& head, int64_t size) {
    fs::remove(path);
    std::ofstream(path, std::ios::binary) << head;
    fs::resize_file(path, static_cast<uintmax_t>(size));
}

void MakeFifo(const fs::path& path) {
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
}

struct GameRun {
    int status = -1;
    std::vector<std::string> messages;  // the headless message boxes, in order
};

GameRun PlayHeadless(const fs::path& data) {
    const fs::path err = data / "stderr.txt";
    const std::string command = "'" + std::string(PLINKWELL_GAME_BINARY) +
                                "' --headless --frames 30 --data '" + data.string() + "' 2>'" + err.string() +
                                "'";
    GameRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Plinkwell: ", 0) == 0) run.messages.push_back(line.substr(11));
    }
    return run;
}

// The message of each named picture refused as broken, in the order they are read.
std::vector<std::string> BrokenPictures(const std::vector<std::string>& names) {
    std::vector<std::string> messages;
    messages.reserve(names.size());
    for (const std::string& name : names) messages.push_back("sprite/" + name + ".bmp broken BMP file");
    return messages;
}

struct Case {
    const char* name;
    std::function<void(const fs::path& data)> make;
    std::vector<std::string> messages;
};

TEST(HostileFilesFullSize, StartUpAndPlayGoOnWithinTimeAndMemory) {
    const std::vector<Case> cases = {
        {"FIFO as a sprite",
         [](const fs::path& d) { MakeFifo(d / "sprite/BG.bmp"); },
         {"-1, 'sprite/BG.bmp': not a regular file."}},
        {"FIFO as a sound",
         [](const fs::path& d) { MakeFifo(d / "sound/Block.wav"); },
         {"WAV 화일을 읽을수 없음"}},
        {"FIFO as Map.dat",
         [](const fs::path& d) { MakeFifo(d / "Map.dat"); },
         {"File open error in Loading Stage"}},
        {"100 GB of zeros as a sound",
         [](const fs::path& d) { WriteSparse(d / "sound/Block.wav", "", 100 * kGiB); },
         {"RIFF WAVE 화일이 아닙니다"}},
        {"100 GB sound claiming 4 GB of samples",
         [](const fs::path& d) { WriteSparse(d / "sound/Block.wav", WavHeader(0xFFFFFF00u), 100 * kGiB); },
         {"사운드버퍼 생성실패"}},
        {"picture in a sparse 4 GB file",
         [](const fs::path& d) {
             WriteSparse(d / "sprite/BG.bmp", BmpHeader(800, 600, 0xFFFFFFFFu), 0xFFFFFFFF);
         },
         {}},
        {"2^26 x 1 picture",
         [](const fs::path& d) {
             WriteSparse(d / "sprite/BG.bmp", BmpHeader(1 << 26, 1), 54 + 3 * (int64_t{1} << 26));
         },
         {}},
        {"1 x 2^26 picture",
         [](const fs::path& d) {
             WriteSparse(d / "sprite/BG.bmp", BmpHeader(1, 1 << 26), 54 + 4 * (int64_t{1} << 26));
         },
         {}},
        {"every picture a tiny file declaring 8192 x 8192: one fits the start-up budget",
         [](const fs::path& d) {
             // One run-length row of 255 black pixels repeated is enough to declare the size: the
             // rest of the picture is left black by the end-of-picture code.
             const std::string rle = BmpHeader(8192, 8192).replace(28, 2, Le16(8)).replace(30, 4, Le32(1)) +
                                     std::string(1024, '\0') + std::string("\0\1", 2);
             for (const auto& file : fs::directory_iterator(d / "sprite")) {
                 std::string bytes = rle;
                 bytes.replace(2, 4, Le32(static_cast<uint32_t>(rle.size())));
                 bytes.replace(10, 4, Le32(54 + 1024));
                 std::ofstream(file.path(), std::ios::binary | std::ios::trunc) << bytes;
             }
         },
         BrokenPictures({"Ball", "Block", "BlockRed", "BlockGreen", "BlockBlue", "BlockGold", "BlockSilver",
                         "Broken", "BG", "Number", "Alphabet", "ItemBar", "Life", "Bullet", "BulletExt",
                         "Particle", "MurkVantler", "VantlerAni", "Intro"})},
        {"2^26 + 1 pixels",
         [](const fs::path& d) {
             WriteSparse(d / "sprite/BG.bmp", BmpHeader((1 << 26) + 1, 1), 54 + 3 * ((int64_t{1} << 26) + 4));
         },
         {"sprite/BG.bmp broken BMP file"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path data = fs::temp_directory_path() / ("plinkwell-hostile-" + std::to_string(getpid()));
        fs::remove_all(data);
        fs::copy(PLINKWELL_BUILD_DATADIR, data, fs::copy_options::recursive);
        c.make(data);
        const GameRun run = PlayHeadless(data);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.messages, c.messages);
        fs::remove_all(data);
    }
}

}  // namespace
