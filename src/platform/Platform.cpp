// Every call goes to the active backend: the automation layer over the installed one.
#include "platform/Platform.h"

#include "platform/automation/Automation.h"

namespace plat {

void SetBackend(Backend* backend) {
    Automation().Wrap(backend);
}
Backend* GetBackend() {
    return Automation().Inner();
}

uint32_t GetTickCount() {
    return Automation().GetTickCount();
}

bool PeekMessage(Message* msg) {
    return Automation().PeekMessage(msg);
}
int GetMessage(Message* msg) {
    return Automation().GetMessage(msg);
}
void TranslateMessage(const Message*) {}
void DispatchMessage(const Message* msg) {
    if (msg) Automation().DispatchMessage(*msg);
}

bool CreateMainWindow(const char* title) {
    return Automation().CreateMainWindow(title);
}
void DestroyMainWindow() {
    Automation().DestroyMainWindow();
}
void MessageBox(const std::string& text) {
    Automation().MessageBox(text);
}
void ShowCursor(bool show) {
    Automation().ShowCursor(show);
}

bool VideoSetMode(int width, int height, bool fullscreen) {
    return Automation().VideoSetMode(width, height, fullscreen);
}
void VideoPresent(const uint16_t* pixels, int width, int height) {
    Automation().VideoPresent(pixels, width, height);
}

void VideoPresentChanged(const uint16_t* pixels, int width, int height, const std::vector<Rect>& changed) {
    Automation().VideoPresentChanged(pixels, width, height, changed);
}

bool VideoWholeFrames() {
    return Automation().VideoWholeFrames();
}
void VideoRelease() {
    Automation().VideoRelease();
}

void ReadKeyboard(uint8_t state[256]) {
    Automation().ReadKeyboard(state);
}
int ReadMouse(MouseState* state) {
    return Automation().ReadMouse(state);
}

bool IsPaused() {
    return Automation().IsPaused();
}
void Idle(int ms) {
    Automation().Idle(ms);
}

bool AudioOpen() {
    return Automation().AudioOpen();
}
int AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
    return Automation().AudioCreateBuffer(frames, frameCount);
}
void AudioPlay(int handle, int effect) {
    Automation().PlayEffect(handle, effect);
}
void AudioReleaseBuffer(int handle) {
    Automation().AudioReleaseBuffer(handle);
}
void AudioClose() {
    Automation().AudioClose();
}

void BeforeTick(uint32_t frame) {
    Automation().BeforeTick(frame);
}

}  // namespace plat
