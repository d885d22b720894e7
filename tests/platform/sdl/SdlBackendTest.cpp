// The SDL backend on SDL's dummy video and audio drivers: no display is needed, and the window
// surface the backend draws into can be read back.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/present/FrameScaler.h"
#include "platform/sdl/SdlBackend.h"
#include "support/Files.h"

namespace {

#ifdef _WIN32
// Windows' C library sets and (with an empty value) removes variables by _putenv_s.
void SetEnv(const char* name, const char* value) {
    _putenv_s(name, value);
}
void UnsetEnv(const char* name) {
    _putenv_s(name, "");
}
#else
void SetEnv(const char* name, const char* value) {
    setenv(name, value, 1);
}
void UnsetEnv(const char* name) {
    unsetenv(name);
}
#endif

using plat::Message;
using plat::MessageKind;

// The picture and frame interval the game makes its backends with.
constexpr plat::GameShape kShape{800, 600, 15, {320, 10, 15, 23}, 16};

constexpr int kW = 800, kH = 600;

class SdlBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kDriverVariables) {
            const char* value = std::getenv(name);
            m_savedEnv.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        SetEnv("SDL_VIDEODRIVER", "dummy");
        SetEnv("SDL_AUDIODRIVER", "dummy");
    }

    // The backend goes first (it quits SDL), then the environment is as it was.
    void TearDown() override {
        backend.reset();
        for (const auto& [name, value] : m_savedEnv) {
            if (value) {
                SetEnv(name.c_str(), value->c_str());
            } else {
                UnsetEnv(name.c_str());
            }
        }
    }

    void Open(const plat::DisplayOptions& options) {
        backend = CreateSdlBackend(options, kShape);
        ASSERT_TRUE(backend->CreateMainWindow("Tarvik"));
        ASSERT_TRUE(backend->VideoSetMode(kW, kH, true));
        window = FindWindow();
        ASSERT_NE(window, nullptr);
        Drain();
    }

    void OpenWindowed(int scale = 1,
                      plat::DisplayOptions::Renderer renderer = plat::DisplayOptions::Renderer::Software) {
        plat::DisplayOptions o;
        o.windowed = true;
        o.scale = scale;
        o.renderer = renderer;
        Open(o);
    }

    static SDL_Window* FindWindow() {
        for (Uint32 id = 1; id < 64; ++id) {
            SDL_Window* w = SDL_GetWindowFromID(id);
            if (w && std::string(SDL_GetWindowTitle(w)) == "Tarvik") return w;
        }
        return nullptr;
    }

    // Takes and handles every waiting message; returns their kinds.
    std::vector<MessageKind> Drain() {
        std::vector<MessageKind> kinds;
        Message m;
        while (backend->PeekMessage(&m)) {
            backend->GetMessage(&m);
            kinds.push_back(m.kind);
            backend->DispatchMessage(m);
        }
        return kinds;
    }

    void PushWindowEvent(Uint8 event) {
        SDL_Event ev{};
        ev.type = SDL_WINDOWEVENT;
        ev.window.event = event;
        ev.window.windowID = SDL_GetWindowID(window);
        SDL_PushEvent(&ev);
    }

    void PushKey(SDL_Scancode sc, Uint16 mod, bool repeat = false) {
        SDL_Event ev{};
        ev.type = SDL_KEYDOWN;
        ev.key.windowID = SDL_GetWindowID(window);
        ev.key.state = SDL_PRESSED;
        ev.key.repeat = repeat ? 1 : 0;
        ev.key.keysym.scancode = sc;
        ev.key.keysym.mod = mod;
        SDL_PushEvent(&ev);
    }

    // The window surface's pixel, as 8-bit red, green and blue.
    SDL_Color Pixel(int x, int y) {
        SDL_Surface* s = SDL_GetWindowSurface(window);
        const auto* row = static_cast<const uint8_t*>(s->pixels) + y * s->pitch;
        const uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
        SDL_Color c{};
        SDL_GetRGB(v, s->format, &c.r, &c.g, &c.b);
        return c;
    }

    std::unique_ptr<plat::Backend> backend;
    SDL_Window* window = nullptr;

private:
    static constexpr const char* kDriverVariables[] = {"SDL_VIDEODRIVER", "SDL_AUDIODRIVER",
                                                       "SDL_DISKAUDIOFILE"};
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
};

::testing::AssertionResult IsRgb(SDL_Color c, int r, int g, int b) {
    if (c.r == r && c.g == g && c.b == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << int(c.r) << "," << int(c.g) << "," << int(c.b)
                                         << " wanted " << r << "," << g << "," << b;
}

// A frame whose pixel shows where it came from: red = x / 32, blue = y / 32, green = 63 on the
// picture's edge rows and columns.
std::vector<uint16_t> PatternFrame() {
    std::vector<uint16_t> f(kW * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool edge = x == 0 || y == 0 || x == kW - 1 || y == kH - 1;
            f[y * kW + x] = static_cast<uint16_t>(((x / 32) << 11) | ((edge ? 63 : 0) << 5) | (y / 32));
        }
    }
    return f;
}

// What PatternFrame's pixel (x, y) looks like after widening to 8 bits.
::testing::AssertionResult ShowsPatternPixel(SDL_Color c, int x, int y) {
    const int r5 = x / 32, b5 = y / 32;
    const bool edge = x == 0 || y == 0 || x == kW - 1 || y == kH - 1;
    return IsRgb(c, (r5 << 3) | (r5 >> 2), edge ? 255 : 0, (b5 << 3) | (b5 >> 2));
}

TEST_F(SdlBackendTest, ClockStartsFarFromZeroAndRuns) {
    backend = CreateSdlBackend({}, kShape);
    const uint32_t t0 = backend->GetTickCount();
    EXPECT_GE(t0, 0x10000000u);
    EXPECT_LT(t0, 0x10000000u + 60000u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(backend->GetTickCount() - t0, 20u);
}

TEST_F(SdlBackendTest, QuitWaitsInTheQueueUntilTaken) {
    OpenWindowed();
    Message m;
    EXPECT_FALSE(backend->PeekMessage(&m));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    ASSERT_TRUE(backend->PeekMessage(&m));
    EXPECT_EQ(m.kind, MessageKind::Quit);
    ASSERT_TRUE(backend->PeekMessage(&m));  // peeking leaves it there
    m = Message{};
    EXPECT_EQ(backend->GetMessage(&m), 0);
    EXPECT_EQ(m.kind, MessageKind::Quit);
    EXPECT_FALSE(backend->PeekMessage(&m));
}

TEST_F(SdlBackendTest, ClosingTheWindowQuits) {
    OpenWindowed();
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::Quit});
}

#ifndef _WIN32  // Windows' console events: tests/app/reliability/WindowsShutdownTest.cpp
TEST_F(SdlBackendTest, SignalsQuit) {
    OpenWindowed();
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::raise(signal);
        EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::Quit}) << signal;
    }
}
#endif

TEST_F(SdlBackendTest, FocusAndMinimisingPauseOnceAndResumeOnce) {
    OpenWindowed();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Message m;
    ASSERT_TRUE(backend->PeekMessage(&m));
    EXPECT_EQ(m.kind, MessageKind::FocusLost);
    EXPECT_FALSE(backend->IsPaused());  // paused when the message is handled
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::FocusLost});
    EXPECT_TRUE(backend->IsPaused());

    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);  // still minimised: still paused
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(backend->IsPaused());

    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::FocusGained});
    EXPECT_FALSE(backend->IsPaused());

    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::FocusLost});
    EXPECT_TRUE(backend->IsPaused());
}

TEST_F(SdlBackendTest, AltEnterTogglesFullScreenAndBack) {
    OpenWindowed();
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    PushKey(SDL_SCANCODE_RETURN, KMOD_NONE);
    PushKey(SDL_SCANCODE_RETURN, KMOD_LALT, true);  // auto-repeat does not toggle again
    EXPECT_TRUE(Drain().empty());

    PushKey(SDL_SCANCODE_RETURN, KMOD_LALT);
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::ToggleFullscreen});
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP,
              Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP});

    PushKey(SDL_SCANCODE_RETURN, KMOD_RALT);
    EXPECT_EQ(Drain(), std::vector<MessageKind>{MessageKind::ToggleFullscreen});
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, kW);
    EXPECT_EQ(h, kH);
}

TEST_F(SdlBackendTest, WindowShowsTheFramePixelForPixel) {
    OpenWindowed(1);
    const std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    SDL_Surface* s = SDL_GetWindowSurface(window);
    ASSERT_EQ(s->w, kW);
    ASSERT_EQ(s->h, kH);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}, {123, 456}}) {
        EXPECT_TRUE(ShowsPatternPixel(Pixel(x, y), x, y)) << x << "," << y;
    }
}

TEST_F(SdlBackendTest, AFrameRedrawsTheTilesThatChangedAndAnExposeRedrawsAll) {
    OpenWindowed(1);
    std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    SDL_FillRect(SDL_GetWindowSurface(window), nullptr, 0);  // stands for damage to the window
    frame[300 * kW + 5] = 0xFFFF;
    backend->VideoPresent(frame.data(), kW, kH);
    EXPECT_TRUE(IsRgb(Pixel(5, 300), 255, 255, 255));
    EXPECT_TRUE(ShowsPatternPixel(Pixel(6, 300), 6, 300));
    EXPECT_TRUE(ShowsPatternPixel(Pixel(6, 301), 6, 301));  // the changed pixel's tile
    EXPECT_TRUE(IsRgb(Pixel(40, 300), 0, 0, 0));            // unchanged tiles are left alone
    EXPECT_TRUE(IsRgb(Pixel(6, 310), 0, 0, 0));
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    Drain();
    EXPECT_TRUE(ShowsPatternPixel(Pixel(40, 300), 40, 300));
    EXPECT_TRUE(ShowsPatternPixel(Pixel(0, 0), 0, 0));
}

TEST_F(SdlBackendTest, ScaleTwoDoublesEveryPixel) {
    OpenWindowed(2);
    const std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    SDL_Surface* s = SDL_GetWindowSurface(window);
    ASSERT_EQ(s->w, 2 * kW);
    ASSERT_EQ(s->h, 2 * kH);
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}, {31, 33}}) {
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                EXPECT_TRUE(ShowsPatternPixel(Pixel(2 * x + dx, 2 * y + dy), x, y)) << x << "," << y;
            }
        }
    }
}

TEST_F(SdlBackendTest, FullScreenFillsTheScreenAtFourByThreeOnBlack) {
    plat::DisplayOptions o;
    o.renderer = plat::DisplayOptions::Renderer::Software;
    Open(o);
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    const std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    SDL_Surface* s = SDL_GetWindowSurface(window);
    ASSERT_EQ(s->w, desktop.w);
    ASSERT_EQ(s->h, desktop.h);
    const plat::Rect fit = plat::AspectFit(desktop.w, desktop.h, kW, kH);
    EXPECT_TRUE(fit.w == desktop.w || fit.h == desktop.h);
    EXPECT_TRUE(ShowsPatternPixel(Pixel(fit.x, fit.y), 0, 0));
    EXPECT_TRUE(ShowsPatternPixel(Pixel(fit.x + fit.w - 1, fit.y + fit.h - 1), 799, 599));
    if (fit.x > 0) {
        EXPECT_TRUE(IsRgb(Pixel(fit.x - 1, fit.y), 0, 0, 0));
    }
    if (fit.y > 0) {
        EXPECT_TRUE(IsRgb(Pixel(fit.x, fit.y - 1), 0, 0, 0));
    }
}

// Without a GPU the dummy driver's renderer is SDL's own software one, which presents into the
// window surface: the renderer path can be read back the same way.
TEST_F(SdlBackendTest, RendererPathShowsTheFrameAndItsChangedRows) {
    OpenWindowed(1, plat::DisplayOptions::Renderer::Accelerated);
    std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    frame[300 * kW + 5] = 0xFFFF;
    backend->VideoPresent(frame.data(), kW, kH);
    EXPECT_TRUE(IsRgb(Pixel(5, 300), 255, 255, 255));
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {6, 300}, {5, 301}, {123, 456}}) {
        EXPECT_TRUE(ShowsPatternPixel(Pixel(x, y), x, y)) << x << "," << y;
    }
}

TEST_F(SdlBackendTest, RendererPathRecoversFromADeviceReset) {
    OpenWindowed(1, plat::DisplayOptions::Renderer::Accelerated);
    const std::vector<uint16_t> frame = PatternFrame();
    backend->VideoPresent(frame.data(), kW, kH);
    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    Drain();
    backend->VideoPresent(frame.data(), kW, kH);  // the same picture, into new textures
    for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {400, 300}}) {
        EXPECT_TRUE(ShowsPatternPixel(Pixel(x, y), x, y)) << x << "," << y;
    }
}

TEST_F(SdlBackendTest, RendererPathFillsTheFullScreenHeight) {
    plat::DisplayOptions o;
    o.renderer = plat::DisplayOptions::Renderer::Accelerated;
    Open(o);
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    std::vector<uint16_t> frame(kW * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) frame[y * kW + x] = x < kW / 2 ? 0xF800 : 0x001F;
    }
    backend->VideoPresent(frame.data(), kW, kH);
    // The picture keeps its proportions and fills the height; away from the middle seam each
    // half is one flat colour however it was scaled.
    const int w = desktop.h * kW / kH, left = (desktop.w - w) / 2;
    const int y = desktop.h / 2;
    EXPECT_TRUE(IsRgb(Pixel(left + 2, 0), 255, 0, 0));
    EXPECT_TRUE(IsRgb(Pixel(left + w / 4, y), 255, 0, 0));
    EXPECT_TRUE(IsRgb(Pixel(left + 3 * w / 4, y), 0, 0, 255));
    EXPECT_TRUE(IsRgb(Pixel(left + w - 3, desktop.h - 1), 0, 0, 255));
    if (left > 0) {
        EXPECT_TRUE(IsRgb(Pixel(left - 1, y), 0, 0, 0));
    }
}

TEST_F(SdlBackendTest, PausedWindowShowsTheLastFrameDimmedAndLabelled) {
    OpenWindowed(1);
    const std::vector<uint16_t> white(kW * kH, 0xFFFF);
    backend->VideoPresent(white.data(), kW, kH);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Drain();
    // Half of 31, 63, 31 is 15, 31, 15, widened to 8 bits.
    EXPECT_TRUE(IsRgb(Pixel(0, 0), 123, 125, 123));
    EXPECT_TRUE(IsRgb(Pixel(260, 272), 255, 255, 255));  // the top-left block of the P
    EXPECT_TRUE(IsRgb(Pixel(292, 272), 0, 0, 0));        // the P's empty top-right block

    // An exposed window gets the paused picture again.
    SDL_Surface* s = SDL_GetWindowSurface(window);
    SDL_FillRect(s, nullptr, 0);
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    Drain();
    EXPECT_TRUE(IsRgb(Pixel(0, 0), 123, 125, 123));
    EXPECT_TRUE(IsRgb(Pixel(260, 272), 255, 255, 255));

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    Drain();
    EXPECT_TRUE(IsRgb(Pixel(0, 0), 255, 255, 255));
    EXPECT_TRUE(IsRgb(Pixel(260, 272), 255, 255, 255));
    EXPECT_TRUE(IsRgb(Pixel(292, 272), 255, 255, 255));
}

TEST_F(SdlBackendTest, AClickShorterThanAFrameIsSeenOnce) {
    OpenWindowed();
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.windowID = SDL_GetWindowID(window);
    ev.button.button = SDL_BUTTON_LEFT;
    ev.button.state = SDL_PRESSED;
    SDL_PushEvent(&ev);
    Drain();
    plat::MouseState m;
    EXPECT_EQ(backend->ReadMouse(&m), 0);
    EXPECT_EQ(m.rgbButtons[0], 0x80);
    EXPECT_EQ(m.rgbButtons[1], 0);
    EXPECT_EQ(backend->ReadMouse(&m), 0);
    EXPECT_EQ(m.rgbButtons[0], 0);
}

TEST_F(SdlBackendTest, AKeyTappedBetweenFramesIsDownForTheNextFrame) {
    OpenWindowed();
    PushKey(SDL_SCANCODE_SPACE, KMOD_NONE);  // a queued press; SDL's own key state stays up
    PushKey(SDL_SCANCODE_AGAIN, KMOD_NONE);  // no DirectInput code: ignored
    Drain();
    uint8_t keys[256];
    for (int read = 0; read < 3; ++read) {  // the game asks for each key separately
        backend->ReadKeyboard(keys);
        EXPECT_EQ(keys[0x39], 0x80) << read;
        EXPECT_EQ(std::count(keys, keys + 256, 0x80), 1) << read;
    }
    const std::vector<uint16_t> frame(kW * kH, 0);
    backend->VideoPresent(frame.data(), kW, kH);
    backend->ReadKeyboard(keys);
    EXPECT_EQ(keys[0x39], 0);

    PushKey(SDL_SCANCODE_ESCAPE, KMOD_NONE, true);  // auto-repeat is no new tap
    Drain();
    backend->ReadKeyboard(keys);
    EXPECT_EQ(keys[0x01], 0);
}

TEST_F(SdlBackendTest, PausedMouseReportsNothing) {
    OpenWindowed();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    SDL_Event ev{};
    ev.type = SDL_MOUSEBUTTONDOWN;
    ev.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&ev);
    Drain();
    plat::MouseState m;
    m.lX = 5;
    EXPECT_EQ(backend->ReadMouse(&m), 0);
    EXPECT_EQ(m.lX, 0);
    EXPECT_EQ(m.rgbButtons[0], 0);
}

TEST_F(SdlBackendTest, MessageBoxWithoutAWindowGoesToStandardError) {
    backend = CreateSdlBackend({}, kShape);
    ::testing::internal::CaptureStderr();
    backend->MessageBox("File open error in Loading Stage");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Plinkwell: File open error in Loading Stage\n");
}

TEST_F(SdlBackendTest, MutedAudioKeepsEffectsWithoutADevice) {
    SetEnv("SDL_AUDIODRIVER", "no-such-driver");
    plat::DisplayOptions o;
    o.mute = true;
    backend = CreateSdlBackend(o, kShape);
    EXPECT_TRUE(backend->AudioOpen());
    const int16_t frames[4] = {1, 2, 3, 4};
    const int a = backend->AudioCreateBuffer(frames, 2);
    const int b = backend->AudioCreateBuffer(frames, 2);
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NE(a, b);
    backend->AudioPlay(a, 0);
    backend->AudioReleaseBuffer(a);
    backend->AudioClose();
}

TEST_F(SdlBackendTest, NoAudioDeviceFailsTheOpen) {
    SetEnv("SDL_AUDIODRIVER", "no-such-driver");
    backend = CreateSdlBackend({}, kShape);
    EXPECT_FALSE(backend->AudioOpen());
}

TEST_F(SdlBackendTest, PlayedEffectReachesTheDeviceAsInterleavedStereo) {
    bool haveDisk = false;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        haveDisk |= std::string(SDL_GetAudioDriver(i)) == "disk";
    if (!haveDisk) GTEST_SKIP() << "this SDL has no disk audio driver";
    const TempDir dir;
    const std::string path = (dir / "audio.raw").string();
    SetEnv("SDL_AUDIODRIVER", "disk");
    SetEnv("SDL_DISKAUDIOFILE", path.c_str());
    backend = CreateSdlBackend({}, kShape);
    ASSERT_TRUE(backend->AudioOpen());
    std::vector<int16_t> effect;
    for (int i = 1; i <= 64; ++i) {
        effect.push_back(static_cast<int16_t>(i * 100));   // left
        effect.push_back(static_cast<int16_t>(-i * 100));  // right
    }
    const int h = backend->AudioCreateBuffer(effect.data(), 64);
    backend->AudioPlay(h, 0);

    // The device writes the mix out as it plays, a buffer at a time; once the file has grown well
    // past the effect, the device is closed (Windows lets no one read the file while it is open)
    // and the effect looked for.
    constexpr std::uintmax_t kPastTheEffect = 64 << 10;
    const std::uintmax_t played = std::filesystem::file_size(path);
    for (int tries = 0; tries < 100 && std::filesystem::file_size(path) < played + kPastTheEffect; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    backend->AudioClose();
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto wanted = std::string(reinterpret_cast<const char*>(effect.data()), effect.size() * 2);
    EXPECT_NE(written.find(wanted), std::string::npos);
}

}  // namespace
