// The services the game asks of the operating system: clock, message queue, message box, cursor,
// video, keyboard, mouse and audio. Everything above this layer compiles without SDL. The backend
// (SDL for play, headless for tests) is installed once at start-up with SetBackend, under the
// automation layer (automation/Automation.h), which every call below goes through.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Rect.h"

namespace plat {

// ---- messages -------------------------------------------------------------------------------
enum class MessageKind : int32_t {
    None = 0,
    Quit,         // window closed, SIGINT, SIGTERM, or the headless frame budget spent
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

// ---- clock ----------------------------------------------------------------------------------
// Every backend's clock starts here: a large origin, as an uptime counter has, so the very first
// frame is due at once.
inline constexpr uint32_t kClockOrigin = 0x10000000u;

// ---- audio ----------------------------------------------------------------------------------
// Effects are converted once, at load time, to the device format below.
inline constexpr int kAudioRate = 44100;
inline constexpr int kAudioChannels = 2;

// A backend supplies the live services. Every call has a safe default so a backend only
// overrides what it really provides.
class Backend {
public:
    virtual ~Backend() = default;

    virtual uint32_t GetTickCount() = 0;

    virtual bool PeekMessage(Message* msg) = 0;
    virtual int GetMessage(Message* msg) = 0;
    virtual void DispatchMessage(const Message& msg) { (void)msg; }

    virtual bool CreateMainWindow(const char* title) {
        (void)title;
        return true;
    }
    virtual void DestroyMainWindow() {}
    virtual void MessageBox(const std::string& text) = 0;
    virtual void ShowCursor(bool show) { (void)show; }

    virtual bool VideoSetMode(int width, int height, bool fullscreen) = 0;
    virtual void VideoPresent(const uint16_t* pixels, int width, int height) = 0;
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
    virtual bool VideoWholeFrames() { return false; }

    virtual void ReadKeyboard(uint8_t state[256]) = 0;
    virtual int ReadMouse(MouseState* state) = 0;

    virtual bool AudioOpen() = 0;
    // frames: interleaved kAudioChannels x int16 at kAudioRate. Returns a handle > 0, or 0.
    virtual int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) = 0;
    virtual void AudioPlay(int handle) = 0;
    virtual void AudioReleaseBuffer(int handle) = 0;
    virtual void AudioClose() {}

    // True while the window is minimised or unfocused: the shell then does not run frames.
    virtual bool IsPaused() { return false; }
    // Blocks up to ms milliseconds when there is nothing to do (keeps the polling loop off the CPU).
    virtual void Idle(int ms) { (void)ms; }

    // For the automation layer: the number of the frame that runs next, and which effect a play is.
    virtual void BeforeTick(uint32_t frame) { (void)frame; }
    virtual void PlayEffect(int handle, int effect) {
        (void)effect;
        AudioPlay(handle);
    }
};

// Puts backend under the automation layer; nullptr leaves the layer with none.
void SetBackend(Backend* backend);
Backend* GetBackend();

// ---- the calls the game makes ---------------------------------------------------------------
uint32_t GetTickCount();

bool PeekMessage(Message* msg);
int GetMessage(Message* msg);
void TranslateMessage(const Message* msg);
void DispatchMessage(const Message* msg);

bool CreateMainWindow(const char* title);
void DestroyMainWindow();
void MessageBox(const std::string& text);
void ShowCursor(bool show);

bool VideoSetMode(int width, int height, bool fullscreen);
void VideoPresent(const uint16_t* pixels, int width, int height);
void VideoPresentChanged(const uint16_t* pixels, int width, int height, const std::vector<Rect>& changed);
// True when every frame is to be drawn and presented whole (the reference for the cheaper path).
bool VideoWholeFrames();
void VideoRelease();

void ReadKeyboard(uint8_t state[256]);
int ReadMouse(MouseState* state);

// The backend's pause state and idle wait, for the main loop.
bool IsPaused();
void Idle(int ms);

bool AudioOpen();
int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount);
// effect is the game's effect number; it is logged for the harness whether or not handle is 0.
void AudioPlay(int handle, int effect);
void AudioReleaseBuffer(int handle);
void AudioClose();

// The shell calls this before every tick with the number of the frame that would run next
// (1 for the first frame). Scripted input for that frame takes effect here.
void BeforeTick(uint32_t frame);

}  // namespace plat
