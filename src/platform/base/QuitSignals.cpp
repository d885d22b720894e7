#include "platform/base/QuitSignals.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace plat {
namespace {

std::atomic<bool> g_quitSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnQuitSignal(int) {
    QuitSignals::Raise();
}

}  // namespace

std::vector<int> QuitSignals::Caught() {
    std::vector<int> signals = {SIGINT,    SIGTERM, SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,  SIGALRM,
                                SIGVTALRM, SIGPROF, SIGXCPU, SIGIO,   SIGPWR,  SIGSTKFLT};
    for (int rt = SIGRTMIN; rt <= SIGRTMAX; ++rt) signals.push_back(rt);
    return signals;
}

QuitSignals::QuitSignals() {
    g_quitSignal.store(false);
    struct sigaction sa {};
    sa.sa_handler = &OnQuitSignal;
    sigemptyset(&sa.sa_mask);
    for (const int signal : Caught()) {
        Taken taken{signal, {}};
        if (sigaction(signal, nullptr, &taken.old) != 0 || taken.old.sa_handler == SIG_IGN) continue;
        if (sigaction(signal, &sa, nullptr) == 0) m_taken.push_back(taken);
    }
}

QuitSignals::~QuitSignals() {
    for (const Taken& taken : m_taken) sigaction(taken.signal, &taken.old, nullptr);
}

bool QuitSignals::RunUnlessRaised(std::function<void()> work) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([work = std::move(work), done] {
        work();
        done->store(true);
    });
    // A signal handler can only raise a flag, so the wait looks at it often.
    while (!done->load() && !Raised()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (done->load()) {
        worker.join();
        return true;
    }
    worker.detach();
    return false;
}

void QuitSignals::Raise() {
    g_quitSignal.store(true);
}

bool QuitSignals::Raised() {
    return g_quitSignal.load();
}

bool QuitSignals::Take() {
    return g_quitSignal.exchange(false);
}

}  // namespace plat
