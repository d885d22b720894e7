#include "platform/headless/HeadlessBackend.h"

#include <signal.h>

#include <csignal>
#include <cstring>

namespace plat {
namespace {

volatile std::sig_atomic_t g_quitSignal = 0;

void OnQuitSignal(int) {
    g_quitSignal = 1;
}

}  // namespace

// SIGINT and SIGTERM only raise a flag; the next message poll turns it into the quit message, so
// the game still shuts down and writes its output files. The previous handlers come back after.
class QuitSignals {
public:
    QuitSignals() {
        g_quitSignal = 0;
        struct sigaction sa {};
        sa.sa_handler = &OnQuitSignal;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &m_oldInt);
        sigaction(SIGTERM, &sa, &m_oldTerm);
    }
    ~QuitSignals() {
        sigaction(SIGINT, &m_oldInt, nullptr);
        sigaction(SIGTERM, &m_oldTerm, nullptr);
    }
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    static bool Raised() { return g_quitSignal != 0; }

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};

HeadlessBackend::HeadlessBackend(uint32_t frameBudget, std::ostream& messageOut)
    : m_budget(frameBudget), m_messageOut(messageOut), m_signals(std::make_unique<QuitSignals>()) {}

HeadlessBackend::~HeadlessBackend() = default;

// The one call of every main-loop pass: the pass's frame is due, or the budget is spent (or a
// signal asked to stop).
bool HeadlessBackend::PeekMessage(Message* msg) {
    if (m_passes >= m_budget || QuitSignals::Raised()) {
        msg->kind = MessageKind::Quit;
        return true;
    }
    ++m_passes;
    m_now += kFrameMs;
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
