#include "platform/automation/Automation.h"

#include <cstring>

namespace plat {

AutomationBackend& Automation() {
    static AutomationBackend layer;
    return layer;
}

void AutomationBackend::Wrap(Backend* inner) {
    m_inner = inner;
    m_frame = 0;
    std::memset(m_frameKeys, 0, sizeof m_frameKeys);
}

uint32_t AutomationBackend::GetTickCount() {
    return m_inner ? m_inner->GetTickCount() : 0;
}

bool AutomationBackend::PeekMessage(Message* msg) {
    if (m_quitPosted) {
        msg->kind = MessageKind::Quit;
        return true;
    }
    return m_inner && m_inner->PeekMessage(msg);
}

int AutomationBackend::GetMessage(Message* msg) {
    if (m_quitPosted) {
        msg->kind = MessageKind::Quit;
        return 0;
    }
    return m_inner ? m_inner->GetMessage(msg) : 0;
}

void AutomationBackend::DispatchMessage(const Message& msg) {
    if (m_inner) m_inner->DispatchMessage(msg);
}

bool AutomationBackend::CreateMainWindow(const char* title) {
    return m_inner && m_inner->CreateMainWindow(title);
}

void AutomationBackend::DestroyMainWindow() {
    if (m_inner) m_inner->DestroyMainWindow();
}

void AutomationBackend::MessageBox(const std::string& text) {
    if (m_inner) m_inner->MessageBox(text);
}

void AutomationBackend::ShowCursor(bool show) {
    if (m_inner) m_inner->ShowCursor(show);
}

bool AutomationBackend::VideoSetMode(int width, int height, bool fullscreen) {
    return m_inner && m_inner->VideoSetMode(width, height, fullscreen);
}

void AutomationBackend::VideoPresent(const uint16_t* pixels, int width, int height) {
    if (m_keepFrame) m_lastFrame.assign(pixels, pixels + static_cast<size_t>(width) * height);
    if (m_inner) m_inner->VideoPresent(pixels, width, height);
}

void AutomationBackend::VideoPresentChanged(const uint16_t* pixels, int width, int height,
                                            const std::vector<Rect>& changed) {
    if (m_keepFrame) m_lastFrame.assign(pixels, pixels + static_cast<size_t>(width) * height);
    if (m_inner) m_inner->VideoPresentChanged(pixels, width, height, changed);
}

bool AutomationBackend::VideoWholeFrames() {
    return m_inner && m_inner->VideoWholeFrames();
}

void AutomationBackend::VideoRelease() {
    if (m_inner) m_inner->VideoRelease();
}

void AutomationBackend::ReadKeyboard(uint8_t state[256]) {
    if (m_frame == 0) {
        ReadSourceKeyboard(state);
    } else {
        std::memcpy(state, m_frameKeys, sizeof m_frameKeys);
    }
}

int AutomationBackend::ReadMouse(MouseState* state) {
    int result = -1;
    if (m_script) {
        m_script->ReadMouse(state);
        result = 0;
    } else if (m_inner) {
        result = m_inner->ReadMouse(state);
    } else {
        *state = MouseState{};
    }
    if (m_recorder) m_recorder->Mouse(m_frame, *state);
    return result;
}

bool AutomationBackend::AudioOpen() {
    return m_inner && m_inner->AudioOpen();
}

int AutomationBackend::AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
    return m_inner ? m_inner->AudioCreateBuffer(frames, frameCount) : 0;
}

void AutomationBackend::AudioPlay(int handle) {
    if (m_inner && handle > 0) m_inner->AudioPlay(handle);
}

void AutomationBackend::AudioReleaseBuffer(int handle) {
    if (m_inner && handle > 0) m_inner->AudioReleaseBuffer(handle);
}

void AutomationBackend::AudioClose() {
    if (m_inner) m_inner->AudioClose();
}

bool AutomationBackend::IsPaused() {
    return m_inner && m_inner->IsPaused();
}

void AutomationBackend::Idle(int ms) {
    if (m_inner) m_inner->Idle(ms);
}

// A windowed loop calls this on every pass until the frame is due: the snapshot follows the keys
// until the frame runs.
void AutomationBackend::BeforeTick(uint32_t frame) {
    m_frame = frame;
    if (m_script) m_script->Advance(frame);
    ReadSourceKeyboard(m_frameKeys);
    if (m_recorder) m_recorder->Keys(frame, m_frameKeys);
}

void AutomationBackend::PlayEffect(int handle, int effect) {
    if (m_logSounds) m_sounds.push_back({m_frame, effect});
    AudioPlay(handle);
}

void AutomationBackend::KeepLastFrame(bool keep) {
    m_keepFrame = keep;
    m_lastFrame.clear();
}

void AutomationBackend::LogSounds(bool log) {
    m_logSounds = log;
    m_sounds.clear();
}

void AutomationBackend::Reset() {
    Wrap(nullptr);
    PlayScript(nullptr);
    Record(nullptr);
    m_quitPosted = false;
    KeepLastFrame(false);
    LogSounds(false);
}

void AutomationBackend::ReadSourceKeyboard(uint8_t state[256]) {
    if (m_script) {
        m_script->ReadKeyboard(state);
    } else if (m_inner) {
        m_inner->ReadKeyboard(state);
    } else {
        std::memset(state, 0, 256);
    }
}

}  // namespace plat
