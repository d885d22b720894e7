// The automation layer of one run: a backend over the real one (SDL, headless, browser) that the
// run owns and installs. It takes the keyboard once per frame (live play reads that snapshot too)
// and, when the run's options ask, plays input from a script, records what the game read, logs
// the sounds played, keeps the last presented picture and posts an early quit. None of this
// changes the game; with no option given it only takes the snapshot.
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

class Automation final : public ForwardingBackend {
public:
    explicit Automation(Backend& inner) : ForwardingBackend(inner) {}

    bool PeekMessage(Message* msg) override;
    int GetMessage(Message* msg) override;
    void VideoPresent(const uint16_t* pixels, int width, int height) override;
    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<Rect>& changed) override;
    // Until the first frame is numbered reads go to the source; from then on every read during a
    // frame returns the snapshot taken at BeforeTick.
    void ReadKeyboard(uint8_t state[256]) override;
    int ReadMouse(MouseState* state) override;
    void AudioPlay(int handle, int effect) override;
    void AudioReleaseBuffer(int handle) override;
    void BeforeTick(uint32_t frame) override;

    // The options of a run.
    // Keyboard and mouse come from script instead of the backend (nullptr: live input). The
    // player must outlive its use.
    void PlayScript(InputPlayer* script) { m_script = script; }
    // Records what the game reads from now on; nullptr stops recording.
    void Record(InputRecorder* recorder) { m_recorder = recorder; }
    // Makes the next PeekMessage or GetMessage deliver the quit message.
    void PostQuit() { m_quitPosted = true; }
    // Keeps a copy of every presented picture (only the last one is held).
    void KeepLastFrame(bool keep);
    // The last presented picture; empty when none was presented or kept.
    const std::vector<uint16_t>& LastFrame() const { return m_lastFrame; }
    void LogSounds(bool log);
    const std::vector<PlayedSound>& Sounds() const { return m_sounds; }
    // The number of the frame that runs next (0 before the first).
    uint32_t Frame() const { return m_frame; }

private:
    void ReadSourceKeyboard(uint8_t state[256]);

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

}  // namespace plat
