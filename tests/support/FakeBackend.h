// A backend for unit tests, installed while it lives: a settable clock, keys and mouse; records
// messages, frames and sounds.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

class FakeBackend : public plat::Backend {
public:
    uint32_t GetTickCount() override { return now; }
    bool PeekMessage(plat::Message* msg) override {
        if (quit) msg->kind = plat::MessageKind::Quit;
        return quit;
    }
    int GetMessage(plat::Message* msg) override {
        msg->kind = quit ? plat::MessageKind::Quit : plat::MessageKind::None;
        return quit ? 0 : 1;
    }
    bool CreateMainWindow(const char*) override { return true; }
    void MessageBox(const std::string& text) override { messages.push_back(text); }
    void ShowCursor(bool show) override { cursorShown = show; }

    bool VideoSetMode(int, int, bool) override { return videoOk; }
    void VideoPresent(const uint16_t* pixels, int width, int height) override {
        presented.assign(pixels, pixels + static_cast<size_t>(width) * height);
        ++presents;
    }

    void ReadKeyboard(uint8_t state[256]) override { std::memcpy(state, keys, 256); }
    int ReadMouse(plat::MouseState* state) override {
        *state = mouse;
        mouse.lX = 0;  // relative motion is consumed by the read
        return 0;
    }

    bool AudioOpen() override { return audioOk; }
    int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) override {
        buffers.emplace_back(frames, frames + static_cast<size_t>(frameCount) * plat::kAudioChannels);
        return static_cast<int>(buffers.size());
    }
    void AudioPlay(int handle, int effect) override {
        effects.push_back(effect);
        if (handle > 0) played.push_back(handle);
    }
    void AudioReleaseBuffer(int handle) override {
        if (handle > 0) released.push_back(handle);
    }

    void Press(int code, bool down = true) { keys[code] = down ? 0x80 : 0; }
    void Button(bool down) { mouse.rgbButtons[0] = down ? 0x80 : 0; }

    uint32_t now = 100000;
    bool quit = false;
    bool videoOk = true;
    bool audioOk = true;
    bool cursorShown = true;
    uint8_t keys[256] = {};
    plat::MouseState mouse;
    std::vector<std::string> messages;
    std::vector<uint16_t> presented;
    int presents = 0;
    std::vector<std::vector<int16_t>> buffers;
    std::vector<int> effects;  // every play, with or without a buffer
    std::vector<int> played;
    std::vector<int> released;

private:
    plat::BackendScope m_installed{*this};  // installed while it lives
};
