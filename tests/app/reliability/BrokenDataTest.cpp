// Start-up against a broken data directory: pictures, sounds and the stage file missing, cut short
// or replaced by garbage. Each run shows exactly the messages the readers give for what they find,
// plays on (a stage skip included) and quits on Escape with status 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "audio/WavReader.h"
#include "game/Catalogue.h"
#include "support/Harness.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SheetFiles() {
    std::vector<std::string> files;
    for (const Sheet& sheet : kSheets) files.emplace_back(sheet.file);
    return files;
}

// In the order the game reads them; the paddle strip is read a second time for the wide paddle.
const std::vector<std::string> kSprites = SheetFiles();
const std::vector<std::string> kSounds(std::begin(kSoundFiles), std::end(kSoundFiles));
const std::string kStageFile = "Map.dat";
const std::string kNoStageFile = "File open error in Loading Stage";

constexpr uint32_t kEscapeFrame = 300;

// Leave the intro, buy score, a branch and a rocket, launch, skip a stage, and quit.
const std::string kPlay =
    "# plinkwell input 1\n"
    "2 key SPACE down\n3 key SPACE up\n"
    "130 key LCONTROL down\n130 key S down\n132 key S up\n"
    "155 key 3 down\n157 key 3 up\n"
    "180 key 7 down\n182 key 7 up\n"
    "185 button down\n188 button up\n190 mouse -250\n"
    "205 key PRIOR down\n207 key PRIOR up\n207 key LCONTROL up\n"
    "300 key ESCAPE down\n";

std::string ReadBytes(const fs::path& path) {
    return ReadFileText(path);
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t byte = at + i < bytes.size() ? static_cast<uint8_t>(bytes[at + i]) : 0;
        v |= byte << (8 * i);
    }
    return v;
}

// A copy of the build's game data that a test may break.
class DataCopy : public TempDir {
public:
    DataCopy() { fs::copy(BuildDataDir(), Path(), fs::copy_options::recursive); }

    std::string Bytes(const std::string& file) const { return ReadBytes(Path() / file); }
    void Remove(const std::string& file) const { fs::remove_all(Path() / file); }
    void Cut(const std::string& file, size_t length) const {
        WriteBytes(Path() / file, Bytes(file).substr(0, length));
    }
    void Replace(const std::string& file, const std::string& bytes) const {
        WriteBytes(Path() / file, bytes);
    }
};

HarnessResult Play(const DataCopy& data) {
    return RunHeadless({"--frames", "1000", "--data", data.Path().string()}, {.script = kPlay});
}

// Plays on to Escape, as if nothing had happened.
void ExpectPlayedToEscape(const HarnessResult& r) {
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.frames, kEscapeFrame);
    EXPECT_EQ(r.presents, static_cast<int>(kEscapeFrame) - 1);  // Escape's frame is not shown
}

std::vector<std::string> Repeat(const std::string& text, size_t n) {
    return std::vector<std::string>(n, text);
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Every message is also printed, as the headless game shows message boxes.
void ExpectPrinted(const HarnessResult& r) {
    for (const std::string& m : r.messages) {
        EXPECT_NE(r.err.find("Plinkwell: " + m + "\n"), std::string::npos) << m;
    }
}

// The image reader's message for a picture file cut to length bytes; our pictures declare their
// own size in their header, so any cut leaves the body short.
std::string CutPictureMessage(const std::string& file, size_t length) {
    if (length < 14) return std::to_string(length) + ":14, " + file + " header size mismatch";
    return " " + file + " can not read file";
}

// The sound bank's message for a sound file cut to length bytes (RIFF header 12 bytes, "fmt " chunk
// header 8 and its 16-byte format, "data" chunk header 8); "" once the sound's header is whole and
// some of its samples are there (a buffer of no bytes cannot be made).
std::string CutSoundMessage(size_t length) {
    if (length < 12) return wav::kMsgNotRiffWave;
    if (length < 20) return wav::kMsgNoFmtChunk;
    if (length < 36) return wav::kMsgReadFailed;
    if (length < 44) return wav::kMsgNoDataChunk;
    if (length == 44) return wav::kMsgBufferFailed;
    return "";
}

// The cell kinds of stage n as the stage file's bytes give them, bytes past its end read as 0.
std::vector<int8_t> ExpectedField(const std::string& map, int32_t n) {
    std::vector<int8_t> kinds;
    for (int k = 0; k < 300; ++k) {
        const auto code = static_cast<int32_t>(Le32(map, 12 + 1200 * static_cast<size_t>(n - 1) + 4 * k));
        kinds.push_back(static_cast<int8_t>(code >= 0 && code <= 6 ? 18 + code : -1));
    }
    return kinds;
}

// The field of the stage the game ended on, and the stage count, are what the file's bytes say.
void ExpectFieldFromFile(const HarnessResult& r, const std::string& map) {
    const auto count = static_cast<int32_t>(Le32(map.substr(0, 12), 8));
    EXPECT_EQ(r.finalState.m_nStageCount, count);
    EXPECT_GE(r.finalState.m_nStage, 1);
    EXPECT_LE(r.finalState.m_nStage, std::max(1, count));
    EXPECT_EQ(std::vector<int8_t>(r.finalState.m_cells, r.finalState.m_cells + 300),
              ExpectedField(map, r.finalState.m_nStage));
}

// A first stage with blocks in it lasts until the stage skip at frame 205, which moves on to stage
// 2, or wraps to 1 when the count is below 2.
void ExpectSkippedFromFirstStage(const HarnessResult& r, const std::string& map) {
    ExpectFieldFromFile(r, map);
    const auto count = static_cast<int32_t>(Le32(map.substr(0, 12), 8));
    EXPECT_EQ(r.finalState.m_nStage, 2 > count ? 1 : 2);
}

std::string Noise(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() & 0xFF);
    return bytes;
}

std::string Garbage(size_t size, uint32_t seed) {
    std::string bytes = Noise(size, seed);
    if (!bytes.empty()) bytes[0] = 'X';  // neither "BM" nor "RIFF"
    return bytes;
}

}  // namespace

// Our generated files are laid out as the expectations above assume.
TEST(BrokenData, OurFilesHaveTheLayoutTheseTestsCutInto) {
    const DataCopy data;
    for (const std::string& file : kSprites) {
        const std::string bytes = data.Bytes(file);
        ASSERT_EQ(bytes.substr(0, 2), "BM") << file;
        EXPECT_EQ(Le32(bytes, 2), bytes.size()) << file;  // declared size = file size
    }
    for (const std::string& file : kSounds) {
        const std::string bytes = data.Bytes(file);
        ASSERT_GE(bytes.size(), 60u) << file;
        EXPECT_EQ(bytes.substr(0, 4), "RIFF") << file;
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ") << file;
        EXPECT_EQ(Le32(bytes, 16), 16u) << file;
        EXPECT_EQ(bytes.substr(36, 4), "data") << file;
    }
    EXPECT_GE(Le32(data.Bytes(kStageFile), 8), 2u);
}

TEST(BrokenData, EveryPictureMissing) {
    const DataCopy data;
    data.Remove("sprite");
    const HarnessResult r = Play(data);
    ExpectPlayedToEscape(r);
    std::vector<std::string> expected;
    expected.reserve(kSprites.size());
    for (const std::string& file : kSprites) expected.push_back("-1, " + file + " not found.");
    EXPECT_EQ(r.messages, expected);
    EXPECT_NE(r.err.find("Plinkwell: -1, sprite/Ball.bmp not found.\n"), std::string::npos);
    ExpectPrinted(r);
}

TEST(BrokenData, EverySoundMissing) {
    const DataCopy data;
    data.Remove("sound");
    const HarnessResult r = Play(data);
    ExpectPlayedToEscape(r);
    EXPECT_EQ(r.messages, Repeat("WAV 화일을 읽을수 없음", kSounds.size()));
    ExpectPrinted(r);
}

TEST(BrokenData, StageFileMissingIsReportedAtEveryStageStart) {
    const DataCopy data;
    data.Remove(kStageFile);
    const HarnessResult r = Play(data);
    ExpectPlayedToEscape(r);
    EXPECT_EQ(r.messages, Repeat(kNoStageFile, 2));  // the new game, then the stage skip
    EXPECT_EQ(r.finalState.m_nStage, 1);
    EXPECT_EQ(r.finalState.m_nStageCount, 0);
    ExpectPrinted(r);
}

TEST(BrokenData, NothingAtAll) {
    const TempDir empty;
    const HarnessResult r =
        RunHeadless({"--frames", "1000", "--data", empty.Path().string()}, {.script = kPlay});
    ExpectPlayedToEscape(r);
    std::vector<std::string> expected;
    expected.reserve(kSprites.size());
    for (const std::string& file : kSprites) expected.push_back("-1, " + file + " not found.");
    expected = Join(expected, Repeat("WAV 화일을 읽을수 없음", kSounds.size()));
    expected = Join(expected, Repeat(kNoStageFile, 2));
    EXPECT_EQ(r.messages, expected);
}

// Every file cut to the same length (those shorter stay whole), from nothing to past the sound headers.
TEST(BrokenData, EveryFileCutShort) {
    for (size_t length : {0, 1, 9, 13, 14, 19, 20, 35, 36, 43, 44, 48, 100, 1300}) {
        SCOPED_TRACE("cut to " + std::to_string(length) + " bytes");
        const DataCopy data;
        const std::string map = data.Bytes(kStageFile).substr(0, length);
        std::vector<std::string> expected;
        for (const std::string& file : kSprites) {
            if (length < data.Bytes(file).size()) expected.push_back(CutPictureMessage(file, length));
        }
        if (!CutSoundMessage(length).empty())
            expected.insert(expected.end(), kSounds.size(), CutSoundMessage(length));
        for (const std::string& file : Join(Join(kSprites, kSounds), {kStageFile})) data.Cut(file, length);
        const HarnessResult r = Play(data);
        ExpectPlayedToEscape(r);
        EXPECT_EQ(r.messages, expected);
        ExpectSkippedFromFirstStage(r, map);
        ExpectPrinted(r);
    }
}

// Each file one byte short, then half its length.
TEST(BrokenData, EveryFileOneByteShortOrHalved) {
    for (bool half : {false, true}) {
        SCOPED_TRACE(half ? "halved" : "one byte short");
        const DataCopy data;
        auto length = [&](const std::string& file) {
            const size_t size = data.Bytes(file).size();
            return half ? size / 2 : size - 1;
        };
        std::vector<std::string> expected;
        expected.reserve(kSprites.size());
        for (const std::string& file : kSprites) expected.push_back(CutPictureMessage(file, length(file)));
        const std::string map = data.Bytes(kStageFile).substr(0, length(kStageFile));
        for (const std::string& file : Join(Join(kSprites, kSounds), {kStageFile}))
            data.Cut(file, length(file));
        const HarnessResult r = Play(data);
        ExpectPlayedToEscape(r);
        EXPECT_EQ(r.messages, expected);  // a sound cut inside its samples plays what is left
        ExpectSkippedFromFirstStage(r, map);
    }
}

TEST(BrokenData, EveryFileReplacedByGarbage) {
    const DataCopy data;
    uint32_t seed = 1;
    std::vector<std::string> expected;
    expected.reserve(kSprites.size());
    for (const std::string& file : kSprites) expected.push_back(file + " not BMP file");
    expected = Join(expected, Repeat("RIFF WAVE 화일이 아닙니다", kSounds.size()));
    for (const std::string& file : Join(Join(kSprites, kSounds), {kStageFile})) {
        data.Replace(file, Garbage(data.Bytes(file).size(), seed++));
    }
    const std::string map = data.Bytes(kStageFile);
    const HarnessResult r = Play(data);
    ExpectPlayedToEscape(r);
    EXPECT_EQ(r.messages, expected);
    ExpectFieldFromFile(r, map);  // any code outside 0 to 6 is an empty cell
}

// Headers intact, everything after them random: sounds play noise, pictures show noise or are
// refused by the reader as broken, and nothing else is said.
TEST(BrokenData, GarbageBehindIntactHeaders) {
    for (uint32_t seed : {5u, 6u, 7u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const DataCopy data;
        for (const std::string& file : Join(kSprites, kSounds)) {
            const std::string bytes = data.Bytes(file);
            const size_t keep = file.starts_with("sprite/") ? 14 : 44;
            data.Replace(file, bytes.substr(0, keep) + Noise(bytes.size() - keep, seed));
        }
        const HarnessResult r = Play(data);
        ExpectPlayedToEscape(r);
        for (const std::string& m : r.messages) {
            const bool known = std::any_of(kSprites.begin(), kSprites.end(), [&m](const std::string& f) {
                return m == f + " broken BMP file";
            });
            EXPECT_TRUE(known) << m;
        }
    }
}
