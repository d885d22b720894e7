// Frame costs of the whole game: one tick of the busiest scene the game can show, loading the
// assets, and turning a finished frame into the window's 32-bit pixels.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game/CGame.h"
#include "game/RecordVisit.h"
#include "platform/Platform.h"
#include "platform/automation/Automation.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/present/ChangedRegions.h"
#include "platform/present/FrameScaler.h"

namespace {

// The game reads its files from the working directory.
void EnterDataDirectory() {
    if (chdir(PLINKWELL_BUILD_DATADIR) != 0) std::abort();
}

// A game with its assets loaded, on the headless backend, reading live (empty) input once per
// frame as the shell does.
struct LoadedGame {
    std::ostringstream messages;
    plat::HeadlessBackend backend{kFrameInterval, UINT32_MAX, messages};
    plat::Automation run{backend};
    plat::BackendScope installed{run};
    std::unique_ptr<CGame> game = std::make_unique<CGame>();

    LoadedGame() {
        EnterDataDirectory();
        game->LoadAssets();
        game->NewGame();
        game->m_bIntro = 0;
    }
    ~LoadedGame() { game->Shutdown(); }
};

// Everything a tick may change, so that every timed tick starts from the same scene.
struct SceneState {
    RecordFields<GameObject> record;
    Random m_random;
};

void SaveScene(const CGame& g, SceneState& scene) {
    CopyRecord(g, scene.record);
    scene.m_random = g.m_random;
}

void RestoreScene(const SceneState& scene, CGame& g) {
    CopyRecord(scene.record, g);
    g.m_random = scene.m_random;
}

// The busiest scene: a full field of 300 blocks, 64 balls with trails spread over the screen (many
// of them inside the field, breaking blocks with sprays and bevel flashes), the wide paddle with
// its murk trail, a rocket with its exhaust, a live spray, the mini-map, every shop item in force
// so that the item bar shows every outline and mark, a timed message and a row of spare lives.
void BuildHeaviestScene(CGame& g) {
    for (int k = 0; k < kCells; ++k) g.m_cells[k].sprite = static_cast<int8_t>(18 + k % 6);
    g.m_nScore = 5000;
    g.m_nLives = 25;
    g.m_bStageBanner = 0;
    g.m_bMiniMap = 1;
    g.m_bWidePaddle = 1;
    g.m_bMurkPaddles = 1;
    g.m_bGlueMode = 1;
    g.m_bPierceMode = 1;
    g.m_bRocketMode = 1;
    g.m_bAutoPaddle = 1;
    g.m_bMessage = 1;
    g.m_strMessage = "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET";
    g.m_nItemKeyDelay = -1;  // every shop and command key is looked at
    g.m_paddle.x = 330;
    for (int i = 0; i < kTrail; ++i) g.m_paddle.trailX[i] = 330 - 12 * i;

    g.m_nBalls = kMaxBalls;
    for (int i = 0; i < kMaxBalls; ++i) {
        Ball& b = g.m_balls[i];
        b.x = 30 + (i % 16) * 47;
        b.y = 80 + (i / 16) * 110;
        b.dx = (i % 5) - 2;
        b.dy = (i % 2) ? 4 : -4;
        b.inPlay = 1;
        b.launched = 1;
        for (int t = 0; t < kTrail; ++t) {
            b.trailX[t] = b.x - t * b.dx;
            b.trailY[t] = b.y - t * b.dy;
        }
    }

    g.m_rocket.sprite = 64;
    g.m_rocket.x = 600;
    g.m_rocket.y = 420;
    g.m_rocket.dy = -5;
    for (int i = 0; i < kTrail; ++i) {
        g.m_rocket.trailX[i] = 601 + i % 3;
        g.m_rocket.trailY[i] = 454 + 5 * i;
    }
    g.StartSpray(400, 200, 73, g.m_particles);
}

void BM_TickHeaviestScene(benchmark::State& state) {
    LoadedGame loaded;
    CGame& g = *loaded.game;
    BuildHeaviestScene(g);
    auto scene = std::make_unique<SceneState>();
    SaveScene(g, *scene);
    uint32_t frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RestoreScene(*scene, g);
        g.m_dwLastFrame = plat::GetTickCount() - g.m_dwFrameInterval;
        state.ResumeTiming();
        plat::BeforeTick(++frame);
        benchmark::DoNotOptimize(g.Tick());
    }
    // The scene must really have been drawn and played, not skipped by the pacing or a state.
    if (loaded.backend.Presents() != static_cast<int>(frame) || g.m_bGameOver != 0 || g.m_bStageBanner != 0)
        state.SkipWithError("the timed ticks did not play the scene");
}
BENCHMARK(BM_TickHeaviestScene)->Unit(benchmark::kMicrosecond);

// The title screen, the lightest frame: a full-screen picture and the flip.
void BM_TickIntro(benchmark::State& state) {
    LoadedGame loaded;
    CGame& g = *loaded.game;
    g.m_bIntro = 1;
    uint32_t frame = 0;
    for (auto _ : state) {
        g.m_dwLastFrame = plat::GetTickCount() - g.m_dwFrameInterval;
        plat::BeforeTick(++frame);
        benchmark::DoNotOptimize(g.Tick());
    }
}
BENCHMARK(BM_TickIntro)->Unit(benchmark::kMicrosecond);

// A like-for-like frame with a plain C composition of an 800 x 600 background and 600 colour-keyed
// 11 x 11 sprites, made of the game's own slots through its own blit.
void BM_ComposeBackgroundAnd600Sprites(benchmark::State& state) {
    LoadedGame loaded;
    CDisplay& d = loaded.game->m_display;
    constexpr SlotIndex kBackground = 25, kBall = 10;
    for (auto _ : state) {
        d.Blit(0, 0, kScreenWidth, kScreenHeight, kBackground, 36, 0, 4);
        for (int i = 0; i < 600; ++i) d.Blit(10 + (i % 30) * 26, 10 + (i / 30) * 29, 11, 11, kBall, 0, 0, 4);
        benchmark::DoNotOptimize(d.BackBuffer()->pixels[0]);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposeBackgroundAnd600Sprites)->Unit(benchmark::kMicrosecond);

// The game's start-up work: every picture cut into its slots, every sound read and converted.
void BM_LoadAssets(benchmark::State& state) {
    EnterDataDirectory();
    std::ostringstream messages;
    plat::HeadlessBackend backend{kFrameInterval, UINT32_MAX, messages};
    const plat::BackendScope installed(backend);
    for (auto _ : state) {
        auto game = std::make_unique<CGame>();
        benchmark::DoNotOptimize(game->LoadAssets());
        game->Shutdown();
    }
    if (!backend.Messages().empty()) state.SkipWithError(backend.Messages().front().c_str());
}
BENCHMARK(BM_LoadAssets)->Unit(benchmark::kMillisecond);

// The picture of the busiest scene, as the game hands it to the window.
std::vector<uint16_t> HeaviestFrame() {
    LoadedGame loaded;
    BuildHeaviestScene(*loaded.game);
    loaded.run.KeepLastFrame(true);
    loaded.game->Tick();
    return loaded.run.LastFrame();
}

// The presenting side's share of a frame: the RGB565 picture through the colour table into a
// 32-bit image, at the window's whole-number scale (1: an 800 x 600 window or texture; 2: 1600 x 1200).
void BM_ConvertFrameForPresentation(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    plat::Rgb565Table table;
    table.Build([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | r << 16 | g << 8 | b; });
    const std::vector<uint16_t> frame = HeaviestFrame();
    const int outW = kScreenWidth * scale, outH = kScreenHeight * scale;
    std::vector<uint8_t> out(static_cast<size_t>(outW) * outH * 4);
    const plat::Placement placement = plat::PlaceInteger(outW, outH, kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        plat::ConvertScaled(frame.data(), kScreenWidth, placement, table, out.data(), outW * 4);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ConvertFrameForPresentation)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Two pictures in a row of a scene, as the game hands them to the window: the busiest scene, or
// a quiet one (one ball in play, the paddle still).
std::vector<std::vector<uint16_t>> TwoFrames(bool busy) {
    LoadedGame loaded;
    CGame& g = *loaded.game;
    if (busy) {
        BuildHeaviestScene(g);
    } else {
        g.m_bStageBanner = 0;
        Ball& b = g.m_balls[0];  // the first ball, launched up and to the right
        b.x = 400;
        b.y = 400;
        b.dx = 3;
        b.dy = -4;
        b.inPlay = 1;
        b.launched = 1;
    }
    loaded.run.KeepLastFrame(true);
    std::vector<std::vector<uint16_t>> frames;
    for (int i = 0; i < 12; ++i) {
        g.m_dwLastFrame = plat::GetTickCount() - g.m_dwFrameInterval;
        plat::BeforeTick(i + 1);
        g.Tick();
        if (i >= 10) frames.push_back(loaded.run.LastFrame());
    }
    return frames;
}

// The presenting side of a frame on the software path: the picture compared with the one shown,
// and its changed regions converted and scaled into a 32-bit image of the output's size (the
// picture filling it at 4:3). Frames alternate between two consecutive pictures of the scene.
void BM_PresentChangedRegions(benchmark::State& state) {
    const bool busy = state.range(0) != 0;
    const int outW = static_cast<int>(state.range(1)), outH = static_cast<int>(state.range(2));
    const std::vector<std::vector<uint16_t>> frames = TwoFrames(busy);
    plat::Rgb565Table table;
    table.Build([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | r << 16 | g << 8 | b; });
    plat::FitScaler scaler;
    scaler.Configure(kScreenWidth, kScreenHeight, plat::AspectFit(outW, outH, kScreenWidth, kScreenHeight));
    std::vector<uint8_t> out(static_cast<size_t>(outW) * outH * 4);
    plat::ShownFrame shown;
    shown.Reset(kScreenWidth, kScreenHeight);
    shown.Assign(frames[0].data());
    size_t i = 0, regions = 0;
    for (auto _ : state) {
        for (const plat::Rect& r : shown.Update(frames[++i & 1].data())) {
            scaler.Draw(shown.Pixels(), r, table, out.data(), outW * 4);
            ++regions;
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.counters["regions"] = benchmark::Counter(static_cast<double>(regions) / static_cast<double>(i));
}
BENCHMARK(BM_PresentChangedRegions)
    ->ArgNames({"busy", "w", "h"})
    ->Args({0, 800, 600})
    ->Args({1, 800, 600})
    ->Args({0, 1920, 1080})
    ->Args({1, 1920, 1080})
    ->Unit(benchmark::kMicrosecond);

// A whole picture converted and scaled to fill a 2560 x 1440 screen (1920 x 1440 at 4:3), as after
// an expose, a full-screen switch or a frame that changed everywhere.
void BM_PresentWholeFrame(benchmark::State& state) {
    const int outW = static_cast<int>(state.range(0)), outH = static_cast<int>(state.range(1));
    const std::vector<uint16_t> frame = HeaviestFrame();
    plat::Rgb565Table table;
    table.Build([](uint8_t r, uint8_t g, uint8_t b) { return 0xFF000000u | r << 16 | g << 8 | b; });
    plat::FitScaler scaler;
    scaler.Configure(kScreenWidth, kScreenHeight, plat::AspectFit(outW, outH, kScreenWidth, kScreenHeight));
    std::vector<uint8_t> out(static_cast<size_t>(outW) * outH * 4);
    for (auto _ : state) {
        scaler.Draw(frame.data(), plat::Rect{0, 0, kScreenWidth, kScreenHeight}, table, out.data(), outW * 4);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentWholeFrame)
    ->ArgNames({"w", "h"})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
