#include "platform/web/WebBackend.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/devices/Keymap.h"
#include "platform/devices/ScaledMotion.h"
#include "platform/present/PacedClock.h"
#include "platform/web/PageCanvas.h"
#include "platform/web/PageInput.h"

// The page's side of the services (index.html defines Module.plinkwellPage).
// clang-format off
EM_ASYNC_JS(void, plinkwell_wait_for_animation_frame, (), {
    await Module.plinkwellPage.nextFrame();
});
EM_JS(int, plinkwell_create_sound, (const int16_t* frames, uint32_t frameCount), {
    return Module.plinkwellPage.createSound(HEAP16.subarray(frames >> 1, (frames >> 1) + frameCount * 2));
});
EM_JS(void, plinkwell_play_sound, (int handle), { Module.plinkwellPage.playSound(handle); });
EM_JS(void, plinkwell_release_sound, (int handle), { Module.plinkwellPage.releaseSound(handle); });
EM_JS(void, plinkwell_message_box, (const char* text), { Module.plinkwellPage.messageBox(UTF8ToString(text)); });
// clang-format on

namespace plat::web {
namespace {

// What changed goes to the page, then the loop waits for the display frame that shows it.
void WaitForDisplayFrame() {
    Canvas().Flush();
    plinkwell_wait_for_animation_frame();
}

constexpr const char* kCanvas = "#screen";
constexpr uint32_t kClockOrigin = 0x10000000;
constexpr uint8_t kEscape = 0x01;

bool IsFunctionKey(uint8_t dik) {
    return (dik >= 0x3B && dik <= 0x44) || dik == 0x57 || dik == 0x58 || (dik >= 0x64 && dik <= 0x66);
}

// Whether the page keeps the key from the browser: every key the game may read, but not the
// function keys nor the system, browser and media keys, so reloading and the developer tools work.
bool IsGameKey(uint8_t dik) {
    constexpr uint8_t kFirstSystemKey = 0xDB;
    const bool media = dik >= 0x90 && dik <= 0xB2 && dik != 0x9C && dik != 0x9D;
    return dik != 0 && !IsFunctionKey(dik) && !media && dik < kFirstSystemKey;
}

class WebBackend;
WebBackend* g_live = nullptr;  // the backend of the run in progress, for the page's buttons

class WebBackend : public Backend {
public:
    WebBackend(const GameShape& shape, const DisplayOptions& options, bool scripted)
        : m_tapMs(shape.frameMs),
          m_scripted(scripted),
          m_clock([] { return emscripten_get_now(); }, WaitForDisplayFrame),
          m_mouseX(options.mouseSpeed),
          m_page(shape, options.padSpeed, [this](bool held) { Hold(held); }) {
        Listen(true);
        g_live = this;
    }
    ~WebBackend() override {
        g_live = nullptr;
        Listen(false);
        Canvas().SetPaused(false);  // the run's last picture stays, plain
    }
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    uint32_t GetTickCount() override { return kClockOrigin + m_clock.Read(); }

    // Every pass of the loop moves the clock on by a millisecond towards the real time.
    // As on the desktop, the clock moves on a millisecond only once the caller has seen where it
    // stands: after the wait for the next frame the loop must see the frame's own due time.
    bool PeekMessage(Message* msg) override {
        msg->kind = m_stopped ? MessageKind::Quit : MessageKind::None;
        if (m_clock.Seen()) Step(1);
        return m_stopped;
    }
    int GetMessage(Message* msg) override {
        msg->kind = m_stopped ? MessageKind::Quit : MessageKind::None;
        return m_stopped ? 0 : 1;
    }

    // The page's Stop button: the run ends as Escape ends a game (a script's run has no other way).
    void Stop() { m_stopped = true; }
    // The page's Pause button.
    void Hold(bool held) { SetPaused(&m_held, held); }

    bool CreateMainWindow(const char* title) override {
        (void)title;
        return true;
    }
    void MessageBox(const std::string& text) override { plinkwell_message_box(text.c_str()); }

    bool VideoSetMode(int width, int height, bool fullscreen) override {
        (void)fullscreen;
        return width > 0 && height > 0;
    }
    void VideoPresent(const uint16_t* pixels, int width, int height) override {
        Canvas().Show(pixels, width, height, nullptr);
        m_page.EndFrame();
    }
    // Only the parts that changed are converted and put on the canvas.
    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<Rect>& changed) override {
        Canvas().Show(pixels, width, height, &changed);
        m_page.EndFrame();
    }

    // A key pressed and released between two frames still shows as down: the loop reads the
    // keyboard at every pass, and most passes run no frame, so a tap lasts one frame interval.
    void ReadKeyboard(uint8_t state[256]) override {
        const bool fresh = m_clock.Elapsed() - m_tapClock < m_tapMs;
        for (int i = 0; i < 256; ++i) state[i] = m_keys[i] | (fresh ? m_keysTapped[i] : 0);
        if (!fresh) std::memset(m_keysTapped, 0, sizeof m_keysTapped);
        m_page.AddKeys(state);
    }
    int ReadMouse(MouseState* state) override {
        *state = MouseState{};
        state->lX = m_mouseX.Take(m_motionX) + m_page.TakeMotion();
        state->lY = m_motionY;
        state->lZ = m_wheel;
        const bool fresh = m_clock.Elapsed() - m_tapClock < m_tapMs;
        for (int i = 0; i < 4; ++i) state->rgbButtons[i] = m_buttons[i] | (fresh ? m_buttonsTapped[i] : 0);
        if (m_page.TakeButton()) state->rgbButtons[0] = 0x80;
        m_motionX = m_motionY = m_wheel = 0;
        if (!fresh) std::memset(m_buttonsTapped, 0, sizeof m_buttonsTapped);
        return 0;
    }

    bool AudioOpen() override { return true; }
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override {
        return plinkwell_create_sound(frames, frameCount);
    }
    void AudioPlay(int handle, int) override { plinkwell_play_sound(handle); }
    void AudioReleaseBuffer(int handle) override { plinkwell_release_sound(handle); }

    bool IsPaused() override { return Paused(); }
    void Idle(int ms) override {
        if (IsPaused()) {
            WaitForDisplayFrame();
            m_page.PollPad();  // a pad plugged in again goes on
            return;
        }
        Step(static_cast<uint32_t>(std::max(ms, 1)));
    }

private:
    bool Paused() const { return m_hidden || m_blurred || m_lockLost || m_held; }
    // Moves the clock on by ms, but not past the real time (PacedClock).
    void Step(uint32_t ms) {
        const uint32_t before = m_clock.Elapsed();
        // a tap that ended a pause still counts when the clock jumps to the real time
        if (m_clock.Step(ms) && m_tapClock == before) m_tapClock = m_clock.Elapsed();
    }

    void SetPaused(bool* reason, bool value) {
        const bool was = IsPaused();
        *reason = value;
        if (was == IsPaused()) return;
        m_clock.SetResync(!IsPaused());         // the paused time is not caught up
        std::memset(m_keys, 0, sizeof m_keys);  // releases while away never arrive
        std::memset(m_buttons, 0, sizeof m_buttons);
        m_motionX = m_motionY = m_wheel = 0;
        Canvas().SetPaused(IsPaused());
    }

    void Tap(uint8_t* flag) {
        *flag = 0x80;
        m_tapClock = m_clock.Elapsed();
    }

    // The motion and buttons count while the pointer is locked, or where the page cannot lock it.
    bool MouseIsOurs() const { return !Paused() && (m_locked || m_lockUnavailable); }

    static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        const uint8_t dik = DikFromCodeName(e->code);
        if (dik == 0) return EM_FALSE;
        const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
        // Escape has given the mouse back (the browser's own use of it); pressed again, it is the
        // game's, and play resumes to see it.
        if (down && dik == kEscape && b->m_lockLost) b->SetPaused(&b->m_lockLost, false);
        b->m_keys[dik] = down ? 0x80 : 0;
        if (down && !e->repeat) b->Tap(&b->m_keysTapped[dik]);
        return IsGameKey(dik) ? EM_TRUE : EM_FALSE;
    }

    static EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        if (!b->MouseIsOurs()) return EM_FALSE;
        b->m_motionX += e->movementX;
        b->m_motionY += e->movementY;
        return EM_FALSE;
    }

    // DirectInput's buttons: 0 left, 1 right, 2 middle, 3 the first side button.
    static int ButtonIndex(unsigned short button) {
        constexpr int kIndex[] = {0, 2, 1, 3};
        return button < 4 ? kIndex[button] : -1;
    }

    static EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        const int index = ButtonIndex(e->button);
        if (b->m_scripted) return EM_FALSE;  // a script plays: the mouse is not the game's
        if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && !b->m_locked && !b->m_lockUnavailable) {
            // The click that takes the mouse is not a click in the game.
            emscripten_request_pointerlock(kCanvas, EM_FALSE);
            return EM_FALSE;
        }
        if (index < 0 || !b->MouseIsOurs()) return EM_FALSE;
        const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
        b->m_buttons[index] = down ? 0x80 : 0;
        if (down) b->Tap(&b->m_buttonsTapped[index]);
        return EM_TRUE;
    }

    static EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        if (!b->MouseIsOurs()) return EM_FALSE;
        if (e->deltaY != 0) b->m_wheel += e->deltaY < 0 ? kWheelDelta : -kWheelDelta;
        return EM_TRUE;
    }

    static EM_BOOL OnLockChange(int, const EmscriptenPointerlockChangeEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        b->m_locked = e->isActive;
        b->SetPaused(&b->m_lockLost, !e->isActive);
        return EM_FALSE;
    }

    static EM_BOOL OnLockError(int, const void*, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        b->m_lockUnavailable = true;  // play on with the unlocked pointer's motion
        b->SetPaused(&b->m_lockLost, false);
        return EM_FALSE;
    }

    static EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        b->SetPaused(&b->m_hidden, e->hidden);
        return EM_FALSE;
    }

    static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* self) {
        auto* b = static_cast<WebBackend*>(self);
        b->SetPaused(&b->m_blurred, type == EMSCRIPTEN_EVENT_BLUR);
        return EM_FALSE;
    }

    void Listen(bool on) {
        void* self = on ? this : nullptr;
        const char* win = EMSCRIPTEN_EVENT_TARGET_WINDOW;
        const char* doc = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
        emscripten_set_keydown_callback(win, self, EM_TRUE, on ? OnKey : nullptr);
        emscripten_set_keyup_callback(win, self, EM_TRUE, on ? OnKey : nullptr);
        emscripten_set_mousemove_callback(doc, self, EM_TRUE, on ? OnMouseMove : nullptr);
        emscripten_set_mousedown_callback(kCanvas, self, EM_TRUE, on ? OnMouseButton : nullptr);
        emscripten_set_mouseup_callback(doc, self, EM_TRUE, on ? OnMouseButton : nullptr);
        emscripten_set_wheel_callback(kCanvas, self, EM_TRUE, on ? OnWheel : nullptr);
        emscripten_set_pointerlockchange_callback(doc, self, EM_TRUE, on ? OnLockChange : nullptr);
        emscripten_set_pointerlockerror_callback(doc, self, EM_TRUE, on ? OnLockError : nullptr);
        emscripten_set_visibilitychange_callback(self, EM_TRUE, on ? OnVisibility : nullptr);
        emscripten_set_blur_callback(win, self, EM_TRUE, on ? OnFocus : nullptr);
        emscripten_set_focus_callback(win, self, EM_TRUE, on ? OnFocus : nullptr);
        if (!on && m_locked) emscripten_exit_pointerlock();
    }

    uint32_t m_tapMs;  // a tap lasts one frame interval
    bool m_scripted;   // the game's input comes from a script
    PacedClock m_clock;
    uint32_t m_tapClock = 0;

    bool m_hidden = false, m_blurred = false, m_lockLost = false, m_held = false;
    bool m_stopped = false;
    bool m_locked = false, m_lockUnavailable = false;

    uint8_t m_keys[256] = {};
    uint8_t m_keysTapped[256] = {};
    int32_t m_motionX = 0, m_motionY = 0, m_wheel = 0;
    uint8_t m_buttons[4] = {};
    uint8_t m_buttonsTapped[4] = {};
    ScaledMotion m_mouseX;
    PageInput m_page;  // the touch controls and the gamepads
};

}  // namespace

std::unique_ptr<Backend> CreateWebBackend(const GameShape& shape, const DisplayOptions& options,
                                          bool scripted) {
    return std::make_unique<WebBackend>(shape, options, scripted);
}

void StopRun() {
    if (g_live) g_live->Stop();
}

void HoldRun(bool held) {
    if (g_live) g_live->Hold(held);
}

void ShowFrame(const uint16_t* pixels, int width, int height) {
    Canvas().Show(pixels, width, height, nullptr);
    Canvas().Flush();
}

}  // namespace plat::web
