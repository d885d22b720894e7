#include "platform/automation/Automation.h"

#include <cstring>

namespace plat {

bool Automation::PeekMessage(Message* msg) {
    if (m_quitPosted) {
        msg->kind = MessageKind::Quit;
        return true;
    }
    return Inner().PeekMessage(msg);
}

int Automation::GetMessage(Message* msg) {
    if (m_quitPosted) {
        msg->kind = MessageKind::Quit;
        return 0;
    }
    return Inner().GetMessage(msg);
}

void Automation::VideoPresent(const uint16_t* pixels, int width, int height) {
    if (m_keepFrame) m_lastFrame.assign(pixels, pixels + static_cast<size_t>(width) * height);
    Inner().VideoPresent(pixels, width, height);
}

void Automation::VideoPresentChanged(const uint16_t* pixels, int width, int height,
                                     const std::vector<Rect>& changed) {
    if (m_keepFrame) m_lastFrame.assign(pixels, pixels + static_cast<size_t>(width) * height);
    Inner().VideoPresentChanged(pixels, width, height, changed);
}

void Automation::ReadKeyboard(uint8_t state[256]) {
    if (m_frame == 0) {
        ReadSourceKeyboard(state);
    } else {
        std::memcpy(state, m_frameKeys, sizeof m_frameKeys);
    }
}

int Automation::ReadMouse(MouseState* state) {
    int result = 0;
    if (m_script) {
        m_script->ReadMouse(state);
    } else {
        result = Inner().ReadMouse(state);
    }
    if (m_recorder) m_recorder->Mouse(m_frame, *state);
    return result;
}

// Every play is logged, an effect that failed to load too; only real buffers reach the device.
void Automation::AudioPlay(int handle, int effect) {
    if (m_logSounds) m_sounds.push_back({m_frame, effect});
    if (handle > 0) Inner().AudioPlay(handle, effect);
}

void Automation::AudioReleaseBuffer(int handle) {
    if (handle > 0) Inner().AudioReleaseBuffer(handle);
}

// A windowed loop calls this on every pass until the frame is due: the snapshot follows the keys
// until the frame runs.
void Automation::BeforeTick(uint32_t frame) {
    m_frame = frame;
    if (m_script) m_script->Advance(frame);
    ReadSourceKeyboard(m_frameKeys);
    if (m_recorder) m_recorder->Keys(frame, m_frameKeys);
    Inner().BeforeTick(frame);
}

void Automation::KeepLastFrame(bool keep) {
    m_keepFrame = keep;
    m_lastFrame.clear();
}

void Automation::LogSounds(bool log) {
    m_logSounds = log;
    m_sounds.clear();
}

void Automation::ReadSourceKeyboard(uint8_t state[256]) {
    if (m_script) {
        m_script->ReadKeyboard(state);
    } else {
        Inner().ReadKeyboard(state);
    }
}

}  // namespace plat
