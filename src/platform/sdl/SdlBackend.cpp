#include "platform/sdl/SdlBackend.h"

#include <SDL.h>
#ifdef __linux__
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/base/QuitSignals.h"
#include "platform/devices/Keymap.h"
#include "platform/devices/ScaledMotion.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlPads.h"
#include "platform/sdl/SdlVideo.h"
#ifdef _WIN32
#include "platform/sdl/SessionEnd.h"
#endif

namespace plat::sdl {
namespace {

// Room left for the window frame when picking the window's scale.
constexpr int kDecorationAllowance = 48;
// SDL's scancodes are the key table's numbers.
static_assert(SDL_NUM_SCANCODES <= kKeyNumberCount && SDL_SCANCODE_A == 4 && SDL_SCANCODE_AUDIONEXT == 258);

// Video drivers that show nothing on any screen.
bool IsScreenless(std::string_view driver) {
    for (std::string_view name : {"dummy", "offscreen", "evdev"}) {
        if (driver == name) return true;
    }
    return false;
}

#ifdef __linux__
// SDL shows an X11 message box from a child process of its own; a run that ends without waiting
// for the click would leave that box on the screen for ever. The game starts no other process.
void EndBoxProcesses() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const size_t name = line.rfind(')');  // the command's name may hold spaces and brackets
        char state = 0;
        long parent = 0;
        if (name == std::string::npos ||
            std::sscanf(line.c_str() + name + 1, " %c %ld", &state, &parent) != 2)
            continue;
        if (parent == ::getpid())
            ::kill(static_cast<pid_t>(std::stol(entry.path().filename().string())), SIGKILL);
    }
}
#else
void EndBoxProcesses() {}
#endif

#ifndef _WIN32
// Points SDL at the window systems the environment names; false when it names none.
bool PickWindowSystem(std::string* problem) {
    std::string tried;
    if (SDL_getenv("DISPLAY")) tried = "x11";
    if (SDL_getenv("WAYLAND_DISPLAY")) tried += tried.empty() ? "wayland" : ",wayland";
    if (tried.empty()) {
        *problem = "no window system: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, tried.c_str());
    return true;
}
#endif

class SdlBackend final : public Backend {
public:
    SdlBackend(const DisplayOptions& options, const GameShape& shape)
        : m_options(options),
          m_picW(shape.width),
          m_picH(shape.height),
          m_motionX(options.mouseSpeed),
          m_video(shape, options.renderer, options.wholeFrames, options.verbose),
          m_audio(options.mute, options.verbose) {
        // Our own handlers (m_signals): SDL's would only queue SDL_QUIT, and we must see the
        // signal while SDL's event queue is not being read.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // Windows: the window is sized in the screen's own pixels, so a display at 150% does not
        // blur the picture by stretching it. (SDL_Init asks Windows for its 1 ms timer itself.)
        SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
        SDL_Init(0);
#ifdef __linux__
        // The loop sleeps once a frame, to the very millisecond the frame is due: the kernel's
        // default 50 us of timer slack would only add to how late it wakes.
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
        m_pads.emplace(shape, options);
    }

    ~SdlBackend() override {
        m_audio.Close();
        DestroyMainWindow();
        m_pads.reset();
        SDL_Quit();
    }

    // Starts the video services and checks that they reach a screen: with no window system, SDL
    // falls back to a driver that has none, and the game would play unseen. Unless the player
    // names a driver, only the window systems the environment points to are tried (probing the
    // others prints their own complaints).
    bool OpenVideo(std::string* problem) {
        const char* asked = SDL_getenv("SDL_VIDEODRIVER");
#ifndef _WIN32  // Windows has one window system, always there
        if ((!asked || !*asked) && !PickWindowSystem(problem)) return false;
#endif
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            *problem = std::string("no window system: ") + SDL_GetError();
            return false;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && IsScreenless(driver) && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
            *problem =
                std::string("no window system: only the '") + driver + "' video driver, which has no screen";
            return false;
        }
        return true;
    }

    uint32_t GetTickCount() override {
        return kClockOrigin + static_cast<uint32_t>(Milliseconds());
    }

    // Never removes the message. The shell polls in a loop that runs a frame when the clock says
    // one is due; the clock only moves once a millisecond, so once the caller has seen the
    // current millisecond we sleep until the next begins: the loop then costs one pass per
    // millisecond instead of a whole core, and every millisecond is still seen at its start, so
    // frames start on time to the millisecond.
    bool PeekMessage(Message* msg) override {
        if (m_queue.empty() && Milliseconds() == m_lastSeenMs) SleepToNextMillisecond();
        Pump();
        m_lastSeenMs = Milliseconds();
        if (m_queue.empty()) return false;
        *msg = m_queue.front();
        return true;
    }

    int GetMessage(Message* msg) override {
        while (m_queue.empty()) {
            SDL_WaitEventTimeout(nullptr, 10);
            Pump();
        }
        *msg = m_queue.front();
        m_queue.pop_front();
        return msg->kind == MessageKind::Quit ? 0 : 1;
    }

    void DispatchMessage(const Message& msg) override {
        switch (msg.kind) {
            case MessageKind::ToggleFullscreen:
                m_fullscreen = !m_fullscreen;
                ApplyWindowMode();
                break;
            case MessageKind::FocusLost:
                Pause(true);
                break;
            case MessageKind::FocusGained:
                Pause(false);
                break;
            default:
                break;
        }
    }

    bool CreateMainWindow(const char* title) override {
        if (m_window) return true;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "plinkwell: no window system: %s\n", SDL_GetError());
            return false;
        }
        // Hidden until the display takes it, full screen or at its scale.
        m_window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, m_picW, m_picH,
                                    SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
        if (!m_window) {
            std::fprintf(stderr, "plinkwell: cannot create the window: %s\n", SDL_GetError());
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        return true;
    }

    void DestroyMainWindow() override {
        if (!m_window) return;
        VideoRelease();
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    void MessageBox(const std::string& text) override {
        if (m_window) {
            // The box needs the pointer: out of relative mode, cursor on, for as long as it is up.
            const bool relative = SDL_GetRelativeMouseMode();
            SDL_SetRelativeMouseMode(SDL_FALSE);
            SDL_ShowCursor(SDL_ENABLE);
            // The box waits for a click, but a quit signal (Ctrl+C, log-out, a service stop) may
            // not wait for it: it ends the run with its outputs as on any quit.
            auto shown = std::make_shared<std::atomic<int>>(-1);
            const bool answered = QuitSignals::RunUnlessRaised([shown, text, window = m_window] {
                shown->store(
                    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Plinkwell", text.c_str(), window));
            });
            SDL_ShowCursor(m_cursorShown ? SDL_ENABLE : SDL_DISABLE);
            SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
            DiscardMotion();
            if (!answered) EndBoxProcesses();
            if (!answered || shown->load() == 0) return;
        }
        std::fprintf(stderr, "Plinkwell: %s\n", text.c_str());
    }

    void ShowCursor(bool show) override {
        m_cursorShown = show;
        if (!m_paused) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    }

    bool VideoSetMode(int width, int height, bool fullscreen) override {
        if (!m_window || width <= 0 || height <= 0) return false;
        m_picW = width;
        m_picH = height;
        m_fullscreen = fullscreen && !m_options.windowed;
        // The presentation first: an OpenGL renderer may have to recreate the window.
        const bool ok = m_video.Open(m_window, width, height);
#ifdef _WIN32
        WatchSessionEnd(m_window);  // after the renderer, which may have made the window anew
#endif
        ApplyWindowMode();
        SDL_ShowWindow(m_window);
        SDL_RaiseWindow(m_window);
        if (ok && !m_paused) SDL_SetRelativeMouseMode(SDL_TRUE);
        DiscardMotion();
        return ok;
    }

    void VideoPresent(const uint16_t* pixels, int width, int height) override {
        ShowShopCursor();
        m_video.Present(pixels, width, height, nullptr);
        ForgetKeyTaps();  // the frame that could see them is over
    }

    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<Rect>& changed) override {
        ShowShopCursor();
        m_video.Present(pixels, width, height, &changed);
        ForgetKeyTaps();
    }

    bool VideoWholeFrames() override {
        return m_options.wholeFrames;
    }

    void VideoRelease() override {
        m_video.Close();
        if (m_window) SDL_SetRelativeMouseMode(SDL_FALSE);
    }

    void ReadKeyboard(uint8_t state[256]) override {
        int count = 0;
        const Uint8* keys = SDL_GetKeyboardState(&count);
        MapKeyboardState(keys, count, state);
        if (m_anyKeyTapped) {
            for (int i = 0; i < 256; ++i) state[i] |= m_keysTapped[i];
        }
        m_pads->Input().AddKeys(state);
    }

    int ReadMouse(MouseState* state) override {
        *state = MouseState{};
        int dx = 0, dy = 0;
        // A click shorter than a frame still shows as pressed in one snapshot.
        const Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy) | m_pressedSinceRead;
        m_pressedSinceRead = 0;
        const int32_t padMotion = m_pads->Input().TakeMotion();
        const bool padButton = m_pads->Input().TakeLeftButton();
        if (m_paused || !m_window) return 0;
        state->lX = m_motionX.Take(dx) + padMotion;
        state->lY = dy;
        state->lZ = m_wheel;
        m_wheel = 0;
        const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK};
        for (int i = 0; i < 4; ++i) state->rgbButtons[i] = (buttons & masks[i]) ? 0x80 : 0;
        if (padButton) state->rgbButtons[0] = 0x80;
        return 0;
    }

    bool AudioOpen() override {
        return m_audio.Open();
    }
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override {
        return m_audio.CreateBuffer(frames, frameCount);
    }
    void AudioPlay(int handle, int) override {
        m_audio.Play(handle);
    }
    void AudioReleaseBuffer(int handle) override {
        m_audio.Release(handle);
    }
    void AudioClose() override {
        m_audio.Close();
    }

    bool IsPaused() override {
        return m_paused;
    }

    // Sleeps to the start of the ms-th millisecond from now, so the caller wakes on the millisecond
    // it counted to. Events wait in the window system's queue meanwhile; the game reads its input
    // at its next frame in any case.
    void Idle(int ms) override {
        if (!m_queue.empty() || QuitSignals::Raised() || ms <= 0) return;
        std::this_thread::sleep_until(m_clockStart + std::chrono::milliseconds(Milliseconds() + ms));
    }

private:
    int64_t Milliseconds() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_clockStart).count();
    }

    void SleepToNextMillisecond() const {
        std::this_thread::sleep_until(m_clockStart + std::chrono::milliseconds(Milliseconds() + 1));
    }

    // With the picture about to be shown; SDL's ticks are the pad events' clock.
    void ShowShopCursor() {
        m_video.SetShopCursor(m_pads->Input().ShopCursor(SDL_GetTicks()));
    }

    // Moves SDL's events into our queue.
    void Pump() {
        SDL_Event ev;
        while (SDL_PollEvent(&ev)) Translate(ev);
        if (QuitSignals::Take()) Enqueue(MessageKind::Quit);
    }

    void Translate(const SDL_Event& ev) {
        switch (m_pads->Translate(ev)) {
            case SdlPads::Change::Added:
                ResumeAfterPadLoss();
                return;
            case SdlPads::Change::Lost:
                m_padLost = true;  // as if the window had lost focus: the game waits for the player
                ReportPause();
                return;
            case SdlPads::Change::None:
                break;
        }
        switch (ev.type) {
            case SDL_QUIT:
                Enqueue(MessageKind::Quit);
                break;
            case SDL_WINDOWEVENT:
                OnWindowEvent(ev.window);
                break;
            case SDL_KEYDOWN:
                if (ev.key.repeat) break;
                if (ev.key.keysym.scancode == SDL_SCANCODE_RETURN && (ev.key.keysym.mod & KMOD_ALT)) {
                    Enqueue(MessageKind::ToggleFullscreen);
                }
                NoteKeyTap(ev.key.keysym.scancode);
                break;
            case SDL_MOUSEBUTTONDOWN:
                m_pressedSinceRead |= SDL_BUTTON(ev.button.button);
                break;
            // After a pad is lost, a whole press of a key, a mouse button or a pad's button goes on
            // (its release: so the press itself does nothing in the game).
            case SDL_KEYUP:
            case SDL_MOUSEBUTTONUP:
            case SDL_CONTROLLERBUTTONUP:
                ResumeAfterPadLoss();
                break;
            case SDL_MOUSEWHEEL:
                m_wheel += ev.wheel.y * kWheelDelta;
                break;
            case SDL_RENDER_TARGETS_RESET:
            case SDL_RENDER_DEVICE_RESET:
                m_video.RenderReset();
                if (m_paused) m_video.Repaint();
                break;
            default:
                break;
        }
    }

    void OnWindowEvent(const SDL_WindowEvent& ev) {
        switch (ev.event) {
            case SDL_WINDOWEVENT_CLOSE:
                Enqueue(MessageKind::Quit);
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_FOCUS_LOST:
                m_focused = ev.event == SDL_WINDOWEVENT_FOCUS_GAINED;
                ReportPause();
                break;
            case SDL_WINDOWEVENT_MINIMIZED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_MAXIMIZED:
                m_minimized = ev.event == SDL_WINDOWEVENT_MINIMIZED;
                ReportPause();
                break;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                m_video.Repaint();  // frames redraw only the rows that change: the rest is ours to restore
                break;
            default:
                break;
        }
    }

    // The game looks at the keyboard once a frame: a key pressed and released between two frames
    // still reads as down throughout the next one.
    void NoteKeyTap(SDL_Scancode scancode) {
        if (const uint8_t dik = DikFromKeyNumber(scancode)) {
            m_keysTapped[dik] = 0x80;
            m_anyKeyTapped = true;
        }
    }

    void ForgetKeyTaps() {
        m_pads->Input().ForgetTaps();
        if (!m_anyKeyTapped) return;
        std::fill(std::begin(m_keysTapped), std::end(m_keysTapped), 0);
        m_anyKeyTapped = false;
    }

    void ResumeAfterPadLoss() {
        if (!m_padLost) return;
        m_padLost = false;
        ReportPause();
    }

    // One message per change between running and paused (minimised, unfocused or a pad lost).
    void ReportPause() {
        const bool pause = m_minimized || !m_focused || m_padLost;
        if (pause == m_pauseReported) return;
        m_pauseReported = pause;
        Enqueue(pause ? MessageKind::FocusLost : MessageKind::FocusGained);
    }

    void Enqueue(MessageKind kind) {
        if (kind == MessageKind::Quit && !m_queue.empty() && m_queue.back().kind == kind) return;
        m_queue.push_back(Message{kind});
    }

    void Pause(bool pause) {
        if (pause == m_paused) return;
        m_paused = pause;
        if (m_window && m_video.IsOpen()) SDL_SetRelativeMouseMode(pause ? SDL_FALSE : SDL_TRUE);
        // Paused, the pointer is the player's again; the game's own choice returns with play.
        SDL_ShowCursor(pause || m_cursorShown ? SDL_ENABLE : SDL_DISABLE);
        DiscardMotion();
        ForgetKeyTaps();
        m_video.SetPaused(pause);
    }

    // Throws away motion piled up while the game was not reading the mouse (focus or mode switch).
    void DiscardMotion() {
        SDL_GetRelativeMouseState(nullptr, nullptr);
        m_motionX.Reset();
        m_wheel = 0;
        m_pressedSinceRead = 0;
    }

    void ApplyWindowMode() {
        if (m_fullscreen) {
            // Cover the desktop first: with no window manager running, nobody else would.
            SDL_Rect desktop{};
            if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(m_window), &desktop) == 0) {
                SDL_SetWindowPosition(m_window, desktop.x, desktop.y);
                SDL_SetWindowSize(m_window, desktop.w, desktop.h);
            }
            SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP);
            return;
        }
        SDL_SetWindowFullscreen(m_window, 0);
        const int scale = WindowScale();
        SDL_SetWindowMinimumSize(m_window, m_picW, m_picH);
        SDL_SetWindowSize(m_window, scale * m_picW, scale * m_picH);
        SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }

    int WindowScale() const {
        if (m_options.scale > 0) return m_options.scale;
        SDL_Rect usable{};
        if (SDL_GetDisplayUsableBounds(SDL_GetWindowDisplayIndex(m_window), &usable) != 0) return 1;
        return std::max(1, std::min(usable.w / m_picW, (usable.h - kDecorationAllowance) / m_picH));
    }

    using Clock = std::chrono::steady_clock;

    DisplayOptions m_options;
    const Clock::time_point m_clockStart = Clock::now();
    int64_t m_lastSeenMs = -1;
    std::deque<Message> m_queue;
    SDL_Window* m_window = nullptr;
    int m_picW;
    int m_picH;
    bool m_fullscreen = false;
    bool m_focused = true;
    bool m_minimized = false;
    bool m_padLost = false;
    bool m_pauseReported = false;
    bool m_paused = false;
    bool m_cursorShown = true;
    ScaledMotion m_motionX;
    int32_t m_wheel = 0;
    Uint32 m_pressedSinceRead = 0;
    uint8_t m_keysTapped[256] = {};
    bool m_anyKeyTapped = false;
    SdlVideo m_video;
    SdlAudio m_audio;
    std::optional<SdlPads> m_pads;  // made once SDL is set up
    QuitSignals m_signals;
};

}  // namespace
}  // namespace plat::sdl

std::unique_ptr<plat::Backend> CreateSdlBackend(const plat::DisplayOptions& options,
                                                const plat::GameShape& shape, std::string* problem) {
    auto backend = std::make_unique<plat::sdl::SdlBackend>(options, shape);
    std::string why;
    if (!backend->OpenVideo(&why)) {
        if (problem) *problem = why;
        return nullptr;
    }
    return backend;
}
