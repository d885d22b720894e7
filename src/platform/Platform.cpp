#include "platform/Platform.h"

#include <cstring>

namespace plat {
namespace {

Backend* g_backend = nullptr;
uint32_t g_frame = 0;
bool g_logSounds = false;
std::vector<PlayedSound> g_sounds;

}  // namespace

void SetBackend(Backend* backend) { g_backend = backend; }
Backend* GetBackend() { return g_backend; }

uint32_t GetTickCount() { return g_backend ? g_backend->GetTickCount() : 0; }

bool PeekMessage(Message* msg) { return g_backend && g_backend->PeekMessage(msg); }
int GetMessage(Message* msg) { return g_backend ? g_backend->GetMessage(msg) : 0; }
void TranslateMessage(const Message*) {}
void DispatchMessage(const Message* msg) {
    if (g_backend && msg) g_backend->DispatchMessage(*msg);
}

bool CreateMainWindow(const char* title) { return g_backend && g_backend->CreateMainWindow(title); }
void DestroyMainWindow() {
    if (g_backend) g_backend->DestroyMainWindow();
}
void MessageBox(const std::string& text) {
    if (g_backend) g_backend->MessageBox(text);
}
void ShowCursor(bool show) {
    if (g_backend) g_backend->ShowCursor(show);
}

bool VideoSetMode(int width, int height, bool fullscreen) {
    return g_backend && g_backend->VideoSetMode(width, height, fullscreen);
}
void VideoPresent(const uint16_t* pixels, int width, int height) {
    if (g_backend) g_backend->VideoPresent(pixels, width, height);
}
void VideoRelease() {
    if (g_backend) g_backend->VideoRelease();
}

void ReadKeyboard(uint8_t state[256]) {
    if (g_backend) {
        g_backend->ReadKeyboard(state);
    } else {
        std::memset(state, 0, 256);
    }
}
int ReadMouse(MouseState* state) {
    if (g_backend) return g_backend->ReadMouse(state);
    *state = MouseState{};
    return -1;
}

bool AudioOpen() { return g_backend && g_backend->AudioOpen(); }
int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
    return g_backend ? g_backend->AudioCreateBuffer(frames, frameCount) : 0;
}
void AudioPlay(int handle, int effect) {
    if (g_logSounds) g_sounds.push_back({g_frame, effect});
    if (g_backend && handle > 0) g_backend->AudioPlay(handle);
}
void AudioReleaseBuffer(int handle) {
    if (g_backend && handle > 0) g_backend->AudioReleaseBuffer(handle);
}
void AudioClose() {
    if (g_backend) g_backend->AudioClose();
}

void BeforeTick(uint32_t frame) { g_frame = frame; }
uint32_t CurrentFrame() { return g_frame; }

void EnableSoundLog(bool enable) {
    g_logSounds = enable;
    g_sounds.clear();
}
const std::vector<PlayedSound>& SoundLog() { return g_sounds; }

}  // namespace plat
