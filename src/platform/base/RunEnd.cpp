#include "platform/base/RunEnd.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace plat {
namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
RunEnd* g_live = nullptr;  // set and read on the game's thread; the mutex guards it for the waiters
bool g_finished = false;

}  // namespace

RunEnd::RunEnd(std::function<Status()> finish) : m_finish(std::move(finish)) {
    const std::lock_guard lock(g_mutex);
    g_live = this;
    g_finished = false;
}

RunEnd::~RunEnd() {
    {
        const std::lock_guard lock(g_mutex);
        if (g_live == this) g_live = nullptr;
    }
    g_changed.notify_all();
}

Status RunEnd::Finish() {
    if (!m_result) m_result = m_finish();
    {
        const std::lock_guard lock(g_mutex);
        if (g_live == this) g_finished = true;
    }
    g_changed.notify_all();
    return *m_result;
}

void RunEnd::FinishNow() {
    if (g_live) (void)g_live->Finish();
}

bool RunEnd::WaitUntilFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(g_mutex);
    return g_changed.wait_for(lock, timeout, [] { return !g_live || g_finished; });
}

}  // namespace plat
