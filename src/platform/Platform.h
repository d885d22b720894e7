// The services the game asks of the operating system: clock, message queue, message box, cursor,
// video, keyboard, mouse and audio. Everything above this layer compiles without SDL.
//
// The list of services is the Backend interface. A backend (SDL, browser, headless) overrides what
// it provides; every service has a default that answers as a device that is absent. The game calls
// the free functions below, each a one-line forward to the installed backend (during a run, the
// run's automation layer over the real backend).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"

namespace plat {

// ---- messages -------------------------------------------------------------------------------
enum class MessageKind : int32_t {
    None = 0,
    Quit,         // window closed, SIGINT, SIGTERM, SIGHUP, or the headless frame budget spent
    FocusLost,    // window minimised or no longer focused
    FocusGained,  // window restored or focused again
    ToggleFullscreen,
    Other,
};

struct Message {
    MessageKind kind = MessageKind::None;
};

// ---- mouse snapshot, as the game's mouse wrapper keeps it -----------------------------------
struct MouseState {
    int32_t lX = 0;
    int32_t lY = 0;
    int32_t lZ = 0;
    uint8_t rgbButtons[4] = {0, 0, 0, 0};
};

// One wheel notch, in the units lZ counts.
inline constexpr int32_t kWheelDelta = 120;

// ---- clock ----------------------------------------------------------------------------------
// Every backend's clock starts here: a large origin, as an uptime counter has, so the very first
// frame is due at once.
inline constexpr uint32_t kClockOrigin = 0x10000000u;

// ---- audio ----------------------------------------------------------------------------------
// Effects are converted once, at load time, to the device format below.
inline constexpr int kAudioRate = 44100;
inline constexpr int kAudioChannels = 2;

// ---- what a backend is made with ----------------------------------------------------------
// The game's picture and frame interval: the game's catalogue holds them, and hands them down when
// it makes a backend (the platform stands below the game).
struct GameShape {
    int width = 0;
    int height = 0;
    uint32_t frameMs = 0;
    // The shop's ten items on the picture, in the order of their keys 1 to 9, 0: the first one's
    // place on the item bar (the bar's height) and the distance to the next. A pad's shop cursor
    // points at them.
    Rect shopItem;
    int shopStep = 0;
};

// What the player chose for a windowed backend.
struct DisplayOptions {
    enum class Renderer { Auto, Software, Accelerated };

    bool windowed = false;    // a window instead of desktop full screen
    int scale = 0;            // the window's whole-number scale (0: the largest that fits)
    double mouseSpeed = 1.0;  // scales horizontal mouse motion before the game reads it
    double padSpeed = 1.0;    // scales the paddle speed a gamepad's stick or d-pad gives
    bool mute = false;        // no audio device
    Renderer renderer = Renderer::Auto;
    bool wholeFrames = false;  // present every frame whole instead of its changed regions
    bool verbose = false;      // start-up lines on stderr (the presentation path, the audio device)
    std::string padMappings;   // the player's own gamepad mappings file, when there may be one
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual uint32_t GetTickCount() { return 0; }

    // False: no message waiting. GetMessage returns 0 for the quit message.
    virtual bool PeekMessage(Message* msg) {
        (void)msg;
        return false;
    }
    virtual int GetMessage(Message* msg) {
        msg->kind = MessageKind::Quit;
        return 0;
    }
    virtual void DispatchMessage(const Message& msg) { (void)msg; }

    virtual bool CreateMainWindow(const char* title) {
        (void)title;
        return false;
    }
    virtual void DestroyMainWindow() {}
    virtual void MessageBox(const std::string& text) { (void)text; }
    virtual void ShowCursor(bool show) { (void)show; }

    virtual bool VideoSetMode(int width, int height, bool fullscreen) {
        (void)width, (void)height, (void)fullscreen;
        return false;
    }
    virtual void VideoPresent(const uint16_t* pixels, int width, int height) {
        (void)pixels, (void)width, (void)height;
    }
    // The same, told where the picture may differ from the last one presented: nothing outside
    // changed. The pixels then stay as they are until the next present or VideoRelease, so the
    // backend may show them again without a copy. A backend that has no use for that presents the
    // picture as usual.
    virtual void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                                     const std::vector<Rect>& changed) {
        (void)changed;
        VideoPresent(pixels, width, height);
    }
    virtual void VideoRelease() {}
    // True when every frame is to be drawn and presented whole (the reference for the cheaper path).
    virtual bool VideoWholeFrames() { return false; }

    // 256 bytes in DirectInput scan-code numbering, bit 7 = down.
    virtual void ReadKeyboard(uint8_t state[256]) {
        for (int i = 0; i < 256; ++i) state[i] = 0;
    }
    // Motion since the last read; 0 on success.
    virtual int ReadMouse(MouseState* state) {
        *state = MouseState{};
        return -1;
    }

    virtual bool AudioOpen() { return false; }
    // frames: interleaved kAudioChannels x int16 at kAudioRate. Returns a handle > 0, or 0.
    virtual int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
        (void)frames, (void)frameCount;
        return 0;
    }
    // effect is the game's effect number, for the run's sound log; handle is 0 when that effect
    // has no buffer (it failed to load).
    virtual void AudioPlay(int handle, int effect) { (void)handle, (void)effect; }
    virtual void AudioReleaseBuffer(int handle) { (void)handle; }
    virtual void AudioClose() {}

    // True while the window is minimised or unfocused: the shell then does not run frames.
    virtual bool IsPaused() { return false; }
    // Blocks up to ms milliseconds when there is nothing to do (keeps the polling loop off the CPU).
    virtual void Idle(int ms) { (void)ms; }

    // The shell calls this before every tick with the number of the frame that would run next
    // (1 for the first frame). Scripted input for that frame takes effect here.
    virtual void BeforeTick(uint32_t frame) { (void)frame; }
};

// Every service passed on to another backend: the base of a layer that changes only a few.
class ForwardingBackend : public Backend {
public:
    explicit ForwardingBackend(Backend& inner) : m_inner(inner) {}

    uint32_t GetTickCount() override { return m_inner.GetTickCount(); }
    bool PeekMessage(Message* msg) override { return m_inner.PeekMessage(msg); }
    int GetMessage(Message* msg) override { return m_inner.GetMessage(msg); }
    void DispatchMessage(const Message& msg) override { m_inner.DispatchMessage(msg); }
    bool CreateMainWindow(const char* title) override { return m_inner.CreateMainWindow(title); }
    void DestroyMainWindow() override { m_inner.DestroyMainWindow(); }
    void MessageBox(const std::string& text) override { m_inner.MessageBox(text); }
    void ShowCursor(bool show) override { m_inner.ShowCursor(show); }
    bool VideoSetMode(int width, int height, bool fullscreen) override {
        return m_inner.VideoSetMode(width, height, fullscreen);
    }
    void VideoPresent(const uint16_t* pixels, int width, int height) override {
        m_inner.VideoPresent(pixels, width, height);
    }
    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<Rect>& changed) override {
        m_inner.VideoPresentChanged(pixels, width, height, changed);
    }
    void VideoRelease() override { m_inner.VideoRelease(); }
    bool VideoWholeFrames() override { return m_inner.VideoWholeFrames(); }
    void ReadKeyboard(uint8_t state[256]) override { m_inner.ReadKeyboard(state); }
    int ReadMouse(MouseState* state) override { return m_inner.ReadMouse(state); }
    bool AudioOpen() override { return m_inner.AudioOpen(); }
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override {
        return m_inner.AudioCreateBuffer(frames, frameCount);
    }
    void AudioPlay(int handle, int effect) override { m_inner.AudioPlay(handle, effect); }
    void AudioReleaseBuffer(int handle) override { m_inner.AudioReleaseBuffer(handle); }
    void AudioClose() override { m_inner.AudioClose(); }
    bool IsPaused() override { return m_inner.IsPaused(); }
    void Idle(int ms) override { m_inner.Idle(ms); }
    void BeforeTick(uint32_t frame) override { m_inner.BeforeTick(frame); }

protected:
    Backend& Inner() { return m_inner; }

private:
    Backend& m_inner;
};

// The backend the calls below go to: the installed one, else an absent device.
Backend& Installed();
// Whether a backend is installed (the video service exists only then).
bool HasBackend();

// Installs a backend for the life of this object; the one before comes back after it.
class BackendScope {
public:
    explicit BackendScope(Backend& backend);
    ~BackendScope();
    BackendScope(const BackendScope&) = delete;
    BackendScope& operator=(const BackendScope&) = delete;

private:
    Backend* m_previous;
};

// ---- the calls the game makes ---------------------------------------------------------------
inline uint32_t GetTickCount() {
    return Installed().GetTickCount();
}

inline bool PeekMessage(Message* msg) {
    return Installed().PeekMessage(msg);
}
inline int GetMessage(Message* msg) {
    return Installed().GetMessage(msg);
}
inline void TranslateMessage(const Message* msg) {
    (void)msg;
}  // no virtual keys to translate
inline void DispatchMessage(const Message* msg) {
    if (msg) Installed().DispatchMessage(*msg);
}

inline bool CreateMainWindow(const char* title) {
    return Installed().CreateMainWindow(title);
}
inline void DestroyMainWindow() {
    Installed().DestroyMainWindow();
}
inline void MessageBox(const std::string& text) {
    Installed().MessageBox(text);
}
inline void ShowCursor(bool show) {
    Installed().ShowCursor(show);
}

inline bool VideoSetMode(int width, int height, bool fullscreen) {
    return Installed().VideoSetMode(width, height, fullscreen);
}
inline void VideoPresent(const uint16_t* pixels, int width, int height) {
    Installed().VideoPresent(pixels, width, height);
}
inline void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                                const std::vector<Rect>& changed) {
    Installed().VideoPresentChanged(pixels, width, height, changed);
}
inline void VideoRelease() {
    Installed().VideoRelease();
}
inline bool VideoWholeFrames() {
    return Installed().VideoWholeFrames();
}

inline void ReadKeyboard(uint8_t state[256]) {
    Installed().ReadKeyboard(state);
}
inline int ReadMouse(MouseState* state) {
    return Installed().ReadMouse(state);
}

inline bool AudioOpen() {
    return Installed().AudioOpen();
}
inline int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
    return Installed().AudioCreateBuffer(frames, frameCount);
}
inline void AudioPlay(int handle, int effect) {
    Installed().AudioPlay(handle, effect);
}
inline void AudioReleaseBuffer(int handle) {
    Installed().AudioReleaseBuffer(handle);
}
inline void AudioClose() {
    Installed().AudioClose();
}

inline bool IsPaused() {
    return Installed().IsPaused();
}
inline void Idle(int ms) {
    Installed().Idle(ms);
}

inline void BeforeTick(uint32_t frame) {
    Installed().BeforeTick(frame);
}

}  // namespace plat
