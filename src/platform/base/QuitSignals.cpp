// What the quit path's POSIX and Windows forms (QuitSignals_posix.cpp, QuitSignals_windows.cpp) share.
#include "platform/base/QuitSignals.h"

#include <atomic>
#include <memory>
#include <thread>

namespace plat {
namespace {

std::atomic<bool> g_quitSignal{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

}  // namespace

bool QuitSignals::RunUnlessRaised(std::function<void()> work) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([work = std::move(work), done] {
        work();
        done->store(true);
    });
    // A signal handler can only raise a flag, so the wait looks at it often.
    while (!done->load() && !Raised()) Pause();
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
