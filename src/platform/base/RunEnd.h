// Windows may end the process without waiting once it has told it to: as soon as the window has
// answered the end-session message (log-off, shut-down), or when the console's close handler
// returns. By then the run's outputs must be complete, as a SIGTERM leaves them on Linux. While a
// run is on, the launcher names here the work that completes them: the end-session hook does it on
// the spot, on the game's thread, and the console handler waits until it is done.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "platform/base/Result.h"

namespace plat {

class RunEnd {
public:
    explicit RunEnd(std::function<Status()> finish);
    ~RunEnd();
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

    // Does the finishing work unless it has been done; what it gave, then or now.
    Status Finish();

    // The live run's Finish, on the game's thread between two frames; nothing when no run is on.
    static void FinishNow();
    // From another thread: waits until the live run's work is done, at most timeout; true when it
    // is, or when no run is on.
    static bool WaitUntilFinished(std::chrono::milliseconds timeout);

private:
    std::function<Status()> m_finish;
    std::optional<Status> m_result;
};

}  // namespace plat
