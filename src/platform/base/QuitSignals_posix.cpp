#include <chrono>
#include <thread>

#include "platform/base/QuitSignals.h"

namespace plat {
namespace {

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

void QuitSignals::Pause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

QuitSignals::QuitSignals() {
    Take();  // a signal before this run asked nothing of it
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

}  // namespace plat
