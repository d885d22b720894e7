#include "app/scenario/ScenarioSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace scenario {

Script& Script::Add(uint32_t frame, const std::string& event) {
    m_events.emplace_back(frame, std::to_string(frame) + " " + event);
    return *this;
}

Script& Script::Down(uint32_t frame, const std::string& key) {
    return Add(frame, "key " + key + " down");
}

Script& Script::Up(uint32_t frame, const std::string& key) {
    return Add(frame, "key " + key + " up");
}

Script& Script::Tap(uint32_t frame, const std::string& key) {
    return Down(frame, key).Up(frame + 1, key);
}

Script& Script::Ctrl(uint32_t frame, const std::string& key) {
    return Down(frame, "LCONTROL").Down(frame, key).Up(frame + 1, key).Up(frame + 1, "LCONTROL");
}

Script& Script::Mouse(uint32_t frame, int32_t dx) {
    return Add(frame, "mouse " + std::to_string(dx));
}

Script& Script::Click(uint32_t frame) {
    return Button(frame, true).Button(frame + 1, false);
}

Script& Script::Button(uint32_t frame, bool down) {
    return Add(frame, down ? "button down" : "button up");
}

Script& Script::SkipIntro() {
    return Tap(1, "SPACE");
}

std::string Script::Text() const {
    std::vector<std::pair<uint32_t, std::string>> sorted = m_events;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string text = "# plinkwell input 1\n";
    for (const auto& event : sorted) text += event.second + "\n";
    return text;
}

StageCodes StageWith(const std::vector<Placed>& cells) {
    StageCodes codes = EmptyStage();
    for (const Placed& p : cells) codes[CellIndex(p.column, p.row)] = p.code;
    return codes;
}

GameRun Play(const fs::path& data, uint32_t frames, const Script& script,
             const std::vector<std::string>& extra) {
    HarnessOptions options;
    options.script = script.Text();
    options.keepFrames = true;
    std::vector<std::string> args{"--data", data.string(), "--frames", std::to_string(frames)};
    args.insert(args.end(), extra.begin(), extra.end());
    GameRun run{RunHeadless(args, options)};
    EXPECT_EQ(run.result.exitCode, 0) << run.result.err;
    EXPECT_TRUE(run.result.ran) << run.result.err;
    EXPECT_EQ(run.result.perFrame.size(), frames);
    return run;
}

std::vector<int> SoundsIn(const GameSnapshot& s, uint32_t frame) {
    std::vector<int> effects;
    for (const plat::PlayedSound& p : s.sounds) {
        if (p.frame == frame) effects.push_back(p.effect);
    }
    return effects;
}

void ExpectPurchase(const GameRun& run, uint32_t frame, int32_t score, const std::string& message) {
    SCOPED_TRACE(frame);
    const GameSnapshot& s = run.At(frame);
    EXPECT_EQ(s.m_nScore, score);
    EXPECT_EQ(SoundsIn(s, frame), std::vector<int>{5});
    EXPECT_EQ(s.m_strMessage, message);
    EXPECT_EQ(s.m_bMessage, 1);
    EXPECT_EQ(s.m_nItemKeyDelay, 20);
}

int BallsInPlay(const GameSnapshot& s) {
    return static_cast<int>(std::count_if(std::begin(s.m_balls), std::end(s.m_balls),
                                          [](const Ball& b) { return b.inPlay == 1; }));
}

namespace {

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

void Put(std::string* out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

// Bottom-up rows of 2400 bytes (800 pixels of blue, green, red, no padding needed).
Screenshot::Screenshot(const fs::path& bmp) {
    std::ifstream in(bmp, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() != 54u + 2400u * 600u || bytes[0] != 'B' || bytes[1] != 'M') return;
    if (Le32(bytes, 10) != 54 || Le32(bytes, 18) != 800 || Le32(bytes, 22) != 600) return;
    if ((Le32(bytes, 28) & 0xFFFF) != 24) return;
    m_pixels.resize(800u * 600u);
    for (int y = 0; y < 600; ++y) {
        const size_t row = 54 + static_cast<size_t>(599 - y) * 2400;
        for (int x = 0; x < 800; ++x) {
            const auto b = static_cast<uint8_t>(bytes[row + 3 * x]);
            const auto g = static_cast<uint8_t>(bytes[row + 3 * x + 1]);
            const auto r = static_cast<uint8_t>(bytes[row + 3 * x + 2]);
            m_pixels[static_cast<size_t>(y) * 800 + x] =
                static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
        }
    }
}

std::string SpriteBmp(int width, int height, uint16_t (*pixel)(int x, int y)) {
    const int stride = (3 * width + 3) / 4 * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(stride * height);
    std::string out = "BM";
    Put(&out, 54 + imageBytes, 4);
    Put(&out, 0, 4);
    Put(&out, 54, 4);
    Put(&out, 40, 4);
    Put(&out, static_cast<uint32_t>(width), 4);
    Put(&out, static_cast<uint32_t>(height), 4);
    Put(&out, 1, 2);
    Put(&out, 24, 2);
    Put(&out, 0, 4);
    Put(&out, imageBytes, 4);
    Put(&out, 2835, 4);
    Put(&out, 2835, 4);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const uint16_t p = pixel(x, row);
            out.push_back(static_cast<char>((p & 0x1F) << 3));
            out.push_back(static_cast<char>(((p >> 5) & 0x3F) << 2));
            out.push_back(static_cast<char>((p >> 11) << 3));
        }
        out.append(static_cast<size_t>(stride - 3 * width), '\0');
    }
    return out;
}

CustomDataDir::CustomDataDir(const std::vector<StageCodes>& stages,
                             const std::vector<std::pair<std::string, std::string>>& sprites) {
    std::error_code ec;
    fs::create_directory_symlink(BuildDataDir() / "sound", Path() / "sound", ec);
    fs::create_directory(Path() / "sprite");
    for (const fs::directory_entry& entry : fs::directory_iterator(BuildDataDir() / "sprite")) {
        const std::string name = entry.path().filename().string();
        const bool replaced = std::any_of(sprites.begin(), sprites.end(),
                                          [&](const auto& sprite) { return sprite.first == name; });
        if (!replaced) fs::create_symlink(entry.path(), Path() / "sprite" / name, ec);
    }
    for (const auto& [name, bytes] : sprites) Write("sprite/" + name, bytes);
    Write("Map.dat", MakeMapDat(stages));
}

}  // namespace scenario
