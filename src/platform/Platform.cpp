#include "platform/Platform.h"

#include <cstring>

#include "platform/Automation.h"

namespace plat {
namespace {

Backend* g_backend = nullptr;
uint32_t g_frame = 0;
bool g_logSounds = false;
std::vector<PlayedSound> g_sounds;

// Frame input: one keyboard snapshot per frame, live or scripted.
bool g_frameInput = false;
InputPlayer* g_script = nullptr;
uint8_t g_frameKeys[256] = {};
InputRecorder* g_recorder = nullptr;

bool g_quitPosted = false;
bool g_keepFrame = false;
std::vector<uint16_t> g_lastFrame;

void ReadBackendKeyboard(uint8_t state[256]) {
    if (g_backend) {
        g_backend->ReadKeyboard(state);
    } else {
        std::memset(state, 0, 256);
    }
}

int ReadSourceMouse(MouseState* state) {
    if (g_script) {
        g_script->ReadMouse(state);
        return 0;
    }
    if (g_backend) return g_backend->ReadMouse(state);
    *state = MouseState{};
    return -1;
}

}  // namespace

void SetBackend(Backend* backend) {
    g_backend = backend;
}
Backend* GetBackend() {
    return g_backend;
}

uint32_t GetTickCount() {
    return g_backend ? g_backend->GetTickCount() : 0;
}

bool PeekMessage(Message* msg) {
    if (g_quitPosted) {
        msg->kind = MessageKind::Quit;
        return true;
    }
    return g_backend && g_backend->PeekMessage(msg);
}
int GetMessage(Message* msg) {
    if (g_quitPosted) {
        msg->kind = MessageKind::Quit;
        return 0;
    }
    return g_backend ? g_backend->GetMessage(msg) : 0;
}
void TranslateMessage(const Message*) {}
void DispatchMessage(const Message* msg) {
    if (g_backend && msg) g_backend->DispatchMessage(*msg);
}

bool CreateMainWindow(const char* title) {
    return g_backend && g_backend->CreateMainWindow(title);
}
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
    if (g_keepFrame) g_lastFrame.assign(pixels, pixels + static_cast<size_t>(width) * height);
    if (g_backend) g_backend->VideoPresent(pixels, width, height);
}
void VideoRelease() {
    if (g_backend) g_backend->VideoRelease();
}

void ReadKeyboard(uint8_t state[256]) {
    if (g_frameInput) {
        std::memcpy(state, g_frameKeys, sizeof g_frameKeys);
    } else {
        ReadBackendKeyboard(state);
    }
}
int ReadMouse(MouseState* state) {
    const int result = ReadSourceMouse(state);
    if (g_recorder) g_recorder->Mouse(g_frame, *state);
    return result;
}

bool IsPaused() {
    return g_backend && g_backend->IsPaused();
}
void Idle(int ms) {
    if (g_backend) g_backend->Idle(ms);
}

bool AudioOpen() {
    return g_backend && g_backend->AudioOpen();
}
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

void BeforeTick(uint32_t frame) {
    g_frame = frame;
    if (!g_frameInput) return;
    if (g_script) {
        g_script->Advance(frame);
        g_script->ReadKeyboard(g_frameKeys);
    } else {
        ReadBackendKeyboard(g_frameKeys);
    }
    if (g_recorder) g_recorder->Keys(frame, g_frameKeys);
}
uint32_t CurrentFrame() {
    return g_frame;
}

void EnableSoundLog(bool enable) {
    g_logSounds = enable;
    g_sounds.clear();
}
const std::vector<PlayedSound>& SoundLog() {
    return g_sounds;
}

void UseFrameInput(InputPlayer* script) {
    g_frameInput = true;
    g_script = script;
    std::memset(g_frameKeys, 0, sizeof g_frameKeys);
}
void RecordInput(InputRecorder* recorder) {
    g_recorder = recorder;
}
void PostQuitMessage() {
    g_quitPosted = true;
}
void KeepLastFrame(bool keep) {
    g_keepFrame = keep;
    g_lastFrame.clear();
}
const std::vector<uint16_t>& LastFrame() {
    return g_lastFrame;
}

void ResetAutomation() {
    g_backend = nullptr;
    g_frame = 0;
    EnableSoundLog(false);
    g_frameInput = false;
    g_script = nullptr;
    std::memset(g_frameKeys, 0, sizeof g_frameKeys);
    g_recorder = nullptr;
    g_quitPosted = false;
    KeepLastFrame(false);
}

}  // namespace plat
