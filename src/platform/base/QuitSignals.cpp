#include "platform/base/QuitSignals.h"

#include <atomic>

namespace plat {
namespace {

std::atomic<bool> g_quitSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnQuitSignal(int) {
    g_quitSignal.store(true);
}

}  // namespace

QuitSignals::QuitSignals() {
    g_quitSignal.store(false);
    struct sigaction sa {};
    sa.sa_handler = &OnQuitSignal;
    sigemptyset(&sa.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &sa, &m_old[i]);
}

QuitSignals::~QuitSignals() {
    for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &m_old[i], nullptr);
}

bool QuitSignals::Raised() {
    return g_quitSignal.load();
}

bool QuitSignals::Take() {
    return g_quitSignal.exchange(false);
}

}  // namespace plat
