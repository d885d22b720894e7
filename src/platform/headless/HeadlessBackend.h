// The backend for automation and tests: no window, no audio device and no waiting. Its clock
// advances one frame interval at every pass of the main loop, so every pass runs a frame, and
// after the frame budget the quit message ends the loop. SIGINT, SIGTERM and SIGHUP end it the same way.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/base/QuitSignals.h"

namespace plat {

class HeadlessBackend : public Backend {
public:
    // The clock moves on frameMs, one frame interval, at every pass; message boxes go to
    // messageOut as "Plinkwell: <text>" lines.
    HeadlessBackend(uint32_t frameMs, uint32_t frameBudget, std::ostream& messageOut);
    ~HeadlessBackend() override;

    uint32_t GetTickCount() override { return m_now; }
    bool PeekMessage(Message* msg) override;
    int GetMessage(Message* msg) override;
    bool CreateMainWindow(const char* title) override {
        (void)title;
        return true;
    }
    void MessageBox(const std::string& text) override;

    bool VideoSetMode(int width, int height, bool fullscreen) override;
    void VideoPresent(const uint16_t* pixels, int width, int height) override;

    void ReadKeyboard(uint8_t state[256]) override;
    int ReadMouse(MouseState* state) override;

    bool AudioOpen() override { return true; }
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override;
    void AudioPlay(int handle, int) override { m_plays.push_back(handle); }
    void AudioReleaseBuffer(int handle) override { (void)handle; }

    const std::vector<std::string>& Messages() const { return m_messages; }
    const std::vector<int>& Plays() const { return m_plays; }
    int Presents() const { return m_presents; }

private:
    uint32_t m_now = kClockOrigin;
    uint32_t m_frameMs;
    uint32_t m_budget;
    uint32_t m_passes = 0;
    std::ostream& m_messageOut;
    std::vector<std::string> m_messages;
    std::vector<int> m_plays;
    int m_buffers = 0;
    int m_presents = 0;
    QuitSignals m_signals;  // caught while the backend lives
};

}  // namespace plat
