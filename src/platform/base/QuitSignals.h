// SIGINT, SIGTERM and SIGHUP ask the game to quit: the handler only raises a flag, and the
// backend's next message poll turns it into the quit message, so the game still shuts down and
// writes its output files. Caught while an instance lives; the previous handlers come back after.
#pragma once

#include <signal.h>

#include <iterator>

namespace plat {

class QuitSignals {
public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    // Whether a quit signal has come since the instance was made.
    static bool Raised();
    // Raised(), clearing the flag: one quit message per signal.
    static bool Take();

private:
    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction m_old[std::size(kSignals)]{};
};

}  // namespace plat
