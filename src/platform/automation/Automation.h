// The automation layer: a backend that wraps the real one (SDL, headless, browser) and is always
// installed. It takes the keyboard once per frame (live play reads that snapshot too) and, when the
// run's options ask, plays input from a script, records what the game read, logs the sounds
// played, keeps the last presented picture and posts an early quit. None of this changes the game;
// with no option given it only takes the snapshot.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "platform/automation/InputScript.h"

namespace plat {

struct PlayedSound {
    uint32_t frame;
    int effect;
};

class AutomationBackend final : public Backend {
public:
    // The backend every call goes on to (nullptr: none, every call answers as a device that is
    // absent). A new backend starts before its first frame.
    void Wrap(Backend* inner);
    Backend* Inner() const { return m_inner; }

    uint32_t GetTickCount() override;
    bool PeekMessage(Message* msg) override;
    int GetMessage(Message* msg) override;
    void DispatchMessage(const Message& msg) override;

    bool CreateMainWindow(const char* title) override;
    void DestroyMainWindow() override;
    void MessageBox(const std::string& text) override;
    void ShowCursor(bool show) override;

    bool VideoSetMode(int width, int height, bool fullscreen) override;
    void VideoPresent(const uint16_t* pixels, int width, int height) override;
    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<Rect>& changed) override;
    bool VideoWholeFrames() override;
    void VideoRelease() override;

    // Until the first frame is numbered reads go to the source; from then on every read during a
    // frame returns the snapshot taken at BeforeTick.
    void ReadKeyboard(uint8_t state[256]) override;
    int ReadMouse(MouseState* state) override;

    bool AudioOpen() override;
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override;
    void AudioPlay(int handle) override;
    void AudioReleaseBuffer(int handle) override;
    void AudioClose() override;

    bool IsPaused() override;
    void Idle(int ms) override;

    void BeforeTick(uint32_t frame) override;
    void PlayEffect(int handle, int effect) override;

    // The options of a run.
    // Keyboard and mouse come from script instead of the backend (nullptr: live input). The
    // player must outlive its use.
    void PlayScript(InputPlayer* script) { m_script = script; }
    // Records what the game reads from now on; nullptr stops recording.
    void Record(InputRecorder* recorder) { m_recorder = recorder; }
    // Makes the next PeekMessage or GetMessage deliver the quit message.
    void PostQuit() { m_quitPosted = true; }
    void KeepLastFrame(bool keep);
    const std::vector<uint16_t>& LastFrame() const { return m_lastFrame; }
    void LogSounds(bool log);
    const std::vector<PlayedSound>& Sounds() const { return m_sounds; }
    uint32_t Frame() const { return m_frame; }
    // Every option off, no backend.
    void Reset();

private:
    void ReadSourceKeyboard(uint8_t state[256]);

    Backend* m_inner = nullptr;
    uint32_t m_frame = 0;
    uint8_t m_frameKeys[256] = {};
    InputPlayer* m_script = nullptr;
    InputRecorder* m_recorder = nullptr;
    bool m_quitPosted = false;
    bool m_keepFrame = false;
    std::vector<uint16_t> m_lastFrame;
    bool m_logSounds = false;
    std::vector<PlayedSound> m_sounds;
};

// The one installed layer; Platform.h's calls go to it.
AutomationBackend& Automation();

// Shorthands for the run options on the installed layer.
inline void PlayInputScript(InputPlayer* script) {
    Automation().PlayScript(script);
}
inline void RecordInput(InputRecorder* recorder) {
    Automation().Record(recorder);
}
inline void PostQuitMessage() {
    Automation().PostQuit();
}
// Keeps a copy of every presented picture (only the last one is held).
inline void KeepLastFrame(bool keep) {
    Automation().KeepLastFrame(keep);
}
// The last presented picture, 800 x 600 RGB565; empty when none was presented or kept.
inline const std::vector<uint16_t>& LastFrame() {
    return Automation().LastFrame();
}
inline void EnableSoundLog(bool enable) {
    Automation().LogSounds(enable);
}
inline const std::vector<PlayedSound>& SoundLog() {
    return Automation().Sounds();
}
inline uint32_t CurrentFrame() {
    return Automation().Frame();
}
inline void ResetAutomation() {
    Automation().Reset();
}

}  // namespace plat
