#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "WavWriter.h"
#include "audio/CSoundBank.h"
#include "support/FakeBackend.h"
#include "support/Files.h"

using namespace wavtest;

namespace {

// The fake, plus a device that can refuse buffers and a count of closes.
class AudioBackend : public FakeBackend {
public:
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override {
        return buffersOk ? FakeBackend::AudioCreateBuffer(frames, frameCount) : 0;
    }
    void AudioClose() override { ++closes; }

    bool buffersOk = true;
    int closes = 0;
};

const Bytes kMono16 = Format(1, 1, 44100, 16);
const Bytes kTwoSamples = Samples16({1000, -2000});

class SoundBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        EXPECT_EQ(bank.Create(), 1);
        bank.AllocSlots(9);
    }
    void TearDown() override { bank.Destroy(); }

    std::string Write(const Bytes& bytes, const char* name = "effect.wav") {
        WriteFile(dir / name, bytes);
        return (dir / name).string();
    }
    std::vector<std::string> Load(const Bytes& bytes, int index = 0) {
        fake.messages.clear();
        bank.LoadWav(index, Write(bytes).c_str(), 0);
        return fake.messages;
    }
    void ExpectRefused(const Bytes& bytes, const char* message) {
        EXPECT_EQ(Load(bytes), std::vector<std::string>{message});
        EXPECT_FALSE(bank.IsLoaded(0));
        EXPECT_TRUE(fake.buffers.empty());
    }
    void ExpectLoads(const Bytes& bytes, const std::vector<int16_t>& frames) {
        EXPECT_TRUE(Load(bytes).empty());
        ASSERT_TRUE(bank.IsLoaded(0));
        ASSERT_EQ(fake.buffers.size(), 1u);
        EXPECT_EQ(fake.buffers.back(), frames);
    }

    AudioBackend fake;
    CSoundBank bank;
    TempDir temp;
    const std::filesystem::path& dir = temp.Path();
};

TEST_F(SoundBankTest, EachFailedStepShowsItsMessageAndLeavesTheSlotEmpty) {
    fake.messages.clear();
    bank.LoadWav(0, (dir / "missing.wav").string().c_str(), 0);
    EXPECT_EQ(fake.messages, std::vector<std::string>{"WAV 화일을 읽을수 없음"});
    fake.messages.clear();
    bank.LoadWav(0, dir.string().c_str(), 0);
    EXPECT_EQ(fake.messages, std::vector<std::string>{"WAV 화일을 읽을수 없음"});

    ExpectRefused(Chunk("JUNK", kTwoSamples), "RIFF WAVE 화일이 아닙니다");
    ExpectRefused(Riff("AVI ", Cat({Chunk("fmt ", kMono16), Chunk("data", kTwoSamples)})),
                  "RIFF WAVE 화일이 아닙니다");
    ExpectRefused(Riff("WAVE", Chunk("data", kTwoSamples)), "화일이 fmt Chunk가 아닙니다");
    const Bytes shortFormat(kMono16.begin(), kMono16.begin() + 14);
    ExpectRefused(Wav(shortFormat, kTwoSamples), "화일 읽기 실패");
    ExpectRefused(Wav(Format(3, 1, 44100, 32), Floats32({0.5f})), "화일 읽기 실패");
    ExpectRefused(Wav(Cat({Format(2, 1, 22050, 4), Le16(4), {1, 2}}), kTwoSamples), "화일 읽기 실패");
    ExpectRefused(Riff("WAVE", Chunk("fmt ", kMono16)), "Data Chunk가 아닙니다");
    ExpectRefused(Wav(Cat({Format(2, 1, 22050, 4), Le16(0)}), kTwoSamples), "사운드버퍼 생성실패");
}

TEST_F(SoundBankTest, StepsFailInTheirOrder) {
    // Unconvertible and without data: the data chunk is looked for before the buffer is made.
    ExpectRefused(Riff("WAVE", Chunk("fmt ", Cat({Format(7, 1, 8000, 8), Le16(0)}))),
                  "Data Chunk가 아닙니다");
    // Neither fmt nor data.
    ExpectRefused(Riff("WAVE", Chunk("LIST", {1, 2})), "화일이 fmt Chunk가 아닙니다");
}

TEST_F(SoundBankTest, FormatsThatCannotBeConvertedAreRefused) {
    Bytes misaligned = Format(1, 2, 44100, 16);
    misaligned[12] = 2;  // block align 2 for two 16-bit channels
    const std::vector<Bytes> formats = {
        Cat({Format(7, 1, 8000, 8), Le16(0)}),    // mu-law
        Format(1, 0, 44100, 16),                  // no channels
        Format(1, 9, 44100, 16),                  // too many channels
        Format(1, 1, 0, 16),                      // no rate
        Format(1, 1, 384001, 16),                 // rate beyond the range
        Format(1, 1, 44100, 12),                  // bits no decoder takes
        Cat({Format(3, 1, 44100, 16), Le16(0)}),  // 16-bit float
        misaligned,
        Extensible(1, 44100, 8, 7),                    // extensible mu-law
        Cat({Format(0xFFFE, 1, 44100, 16), Le16(0)}),  // extensible without its subformat
    };
    for (const Bytes& format : formats) {
        SCOPED_TRACE(::testing::PrintToString(format));
        ExpectRefused(Wav(format, Bytes(64, 0x40)), "사운드버퍼 생성실패");
    }
    ExpectRefused(Wav(kMono16, {}), "사운드버퍼 생성실패");                         // no frame at all
    ExpectRefused(Wav(Format(1, 2, 44100, 16), {1, 2, 3}), "사운드버퍼 생성실패");  // less than a frame
    // 1600 one-byte frames at 1 Hz would be 70,560,000 device frames, more than a buffer holds.
    ExpectRefused(Wav(Format(1, 1, 1, 8), Bytes(1600, 128)), "사운드버퍼 생성실패");
}

TEST_F(SoundBankTest, BufferTheDeviceRefusesLeavesTheSlotEmpty) {
    fake.buffersOk = false;
    EXPECT_EQ(Load(Wav(kMono16, kTwoSamples)), std::vector<std::string>{"사운드버퍼 생성실패"});
    EXPECT_FALSE(bank.IsLoaded(0));
}

TEST_F(SoundBankTest, ChunksAreFoundWhereverTheyStand) {
    const std::vector<int16_t> frames = {1000, 1000, -2000, -2000};
    // "data" before "fmt ", behind an odd-sized chunk that is padded.
    ExpectLoads(
        Riff("WAVE", Cat({Chunk("LIST", {1, 2, 3}), Chunk("data", kTwoSamples), Chunk("fmt ", kMono16)})),
        frames);
    fake.buffers.clear();
    // The RIFF WAVE after other top-level chunks.
    ExpectLoads(Cat({Chunk("JUNK", {9}), Riff("AVI ", {}), Wav(kMono16, kTwoSamples)}), frames);
    fake.buffers.clear();
    // PCM format chunks of 18 and 40 bytes: the bytes after the first 16 are not read.
    ExpectLoads(Wav(Cat({kMono16, Le16(22)}), kTwoSamples), frames);
    fake.buffers.clear();
    ExpectLoads(Wav(Cat({kMono16, Bytes(24, 0xEE)}), kTwoSamples), frames);
}

TEST_F(SoundBankTest, DataChunkClaimingMoreThanTheFileLoadsWhatIsThere) {
    const Bytes head = Cat({Tag("WAVE"), Chunk("fmt ", kMono16)});
    ExpectLoads(RawChunk("RIFF", 1000, Cat({head, RawChunk("data", 1000, kTwoSamples)})),
                {1000, 1000, -2000, -2000});
    fake.buffers.clear();
    ExpectLoads(RawChunk("RIFF", 0xFFFFFFFF, Cat({head, RawChunk("data", 0xFFFFFFFF, kTwoSamples)})),
                {1000, 1000, -2000, -2000});
}

// Only the chunks are read: a file far larger than memory (here a terabyte, sparse, after the RIFF
// chunk) loads its effect like any other.
TEST_F(SoundBankTest, FileLargerThanMemoryLoadsItsEffect) {
#ifdef _WIN32
    GTEST_SKIP() << "a terabyte file takes a terabyte of disk on Windows (sparse only on request)";
#endif
    const std::string path = Write(Wav(kMono16, kTwoSamples));
    std::filesystem::resize_file(path, uint64_t{1} << 40);
    fake.messages.clear();
    bank.LoadWav(0, path.c_str(), 0);
    EXPECT_TRUE(fake.messages.empty());
    ASSERT_TRUE(bank.IsLoaded(0));
    EXPECT_EQ(fake.buffers.back(), (std::vector<int16_t>{1000, 1000, -2000, -2000}));
}

TEST_F(SoundBankTest, HugeChunkSizesDoNotWrapTheSearch) {
    // 8 + 0xFFFFFFF8 would bring a 32-bit offset back to this very chunk.
    const Bytes body =
        Cat({Chunk("fmt ", kMono16), RawChunk("JUNK", 0xFFFFFFF8, {}), Chunk("data", kTwoSamples)});
    ExpectRefused(Riff("WAVE", body), "Data Chunk가 아닙니다");
}

TEST_F(SoundBankTest, ReloadingASlotReleasesItsBuffer) {
    const Bytes good = Wav(kMono16, kTwoSamples);
    Load(good);
    Load(good);
    EXPECT_EQ(fake.released, std::vector<int>{1});
    Load(Chunk("JUNK", {}));
    EXPECT_EQ(fake.released, (std::vector<int>{1, 2}));
    EXPECT_FALSE(bank.IsLoaded(0));
}

TEST_F(SoundBankTest, IndicesOutsideTheTableAreIgnored) {
    const Bytes good = Wav(kMono16, kTwoSamples);
    EXPECT_TRUE(Load(good, 9).empty());
    EXPECT_TRUE(Load(good, -1).empty());
    EXPECT_TRUE(fake.buffers.empty());
    EXPECT_FALSE(bank.IsLoaded(9));
}

TEST_F(SoundBankTest, PlayStartsLoadedEffectsAndLogsEveryCall) {
    Load(Wav(kMono16, kTwoSamples), 3);
    bank.Play(3);
    bank.Play(3);
    bank.Play(0);  // empty slot
    bank.Play(9);  // outside the table
    bank.Play(-1);
    EXPECT_EQ(fake.played, (std::vector<int>{1, 1}));
    EXPECT_EQ(fake.effects, (std::vector<int>{3, 3, 0, 9, -1}));
}

TEST_F(SoundBankTest, DestroyReleasesEverythingOnce) {
    Load(Wav(kMono16, kTwoSamples), 0);
    Load(Wav(kMono16, kTwoSamples), 8);
    bank.Destroy();
    EXPECT_EQ(fake.released, (std::vector<int>{1, 2}));
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(bank.SlotCount(), 0);
    EXPECT_FALSE(bank.IsLoaded(0));
    bank.Destroy();
    bank.Play(0);
    EXPECT_EQ(fake.released.size(), 2u);
    EXPECT_EQ(fake.closes, 1);
    EXPECT_TRUE(fake.played.empty());
}

TEST_F(SoundBankTest, WithoutADeviceCreateFailsAndLoadsLeaveSlotsEmpty) {
    fake.audioOk = false;
    fake.messages.clear();
    CSoundBank silent;
    EXPECT_EQ(silent.Create(), 0);
    EXPECT_EQ(fake.messages, std::vector<std::string>{"DirectSound Creation Failed."});
    silent.AllocSlots(9);
    silent.LoadWav(0, Write(Wav(kMono16, kTwoSamples)).c_str(), 0);
    silent.Play(0);
    EXPECT_FALSE(silent.IsLoaded(0));
    EXPECT_TRUE(fake.buffers.empty());
    EXPECT_TRUE(fake.played.empty());
    EXPECT_EQ(fake.messages.size(), 1u);
    silent.Destroy();
    EXPECT_EQ(fake.closes, 0);
}

}  // namespace
