#include "platform/headless/HeadlessBackend.h"

#include <cstring>

namespace plat {

HeadlessBackend::HeadlessBackend(uint32_t frameMs, uint32_t frameBudget, std::ostream& messageOut)
    : m_frameMs(frameMs), m_budget(frameBudget), m_messageOut(messageOut) {}

HeadlessBackend::~HeadlessBackend() = default;

// The one call of every main-loop pass: the pass's frame is due, or the budget is spent (or a
// signal asked to stop).
bool HeadlessBackend::PeekMessage(Message* msg) {
    if (m_passes >= m_budget || QuitSignals::Raised()) {
        msg->kind = MessageKind::Quit;
        return true;
    }
    ++m_passes;
    m_now += m_frameMs;
    return false;
}

int HeadlessBackend::GetMessage(Message* msg) {
    const bool quit = m_passes >= m_budget || QuitSignals::Raised();
    msg->kind = quit ? MessageKind::Quit : MessageKind::None;
    return quit ? 0 : 1;
}

void HeadlessBackend::MessageBox(const std::string& text) {
    m_messages.push_back(text);
    m_messageOut << "Plinkwell: " << text << std::endl;
}

bool HeadlessBackend::VideoSetMode(int width, int height, bool fullscreen) {
    (void)fullscreen;
    return width > 0 && height > 0;
}

void HeadlessBackend::VideoPresent(const uint16_t* pixels, int width, int height) {
    (void)pixels, (void)width, (void)height;
    ++m_presents;
}

void HeadlessBackend::ReadKeyboard(uint8_t state[256]) {
    std::memset(state, 0, 256);
}

int HeadlessBackend::ReadMouse(MouseState* state) {
    *state = MouseState{};
    return 0;
}

int HeadlessBackend::AudioCreateBuffer(const int16_t* frames, uint32_t frameCount) {
    (void)frames, (void)frameCount;
    return ++m_buffers;
}

}  // namespace plat
