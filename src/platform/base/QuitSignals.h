// Every signal whose default is to end the process asks the game to quit instead (SIGINT, SIGTERM,
// SIGHUP, SIGQUIT, SIGUSR1/2, the timers', SIGXCPU, SIGPWR, the real-time ones, ...): the handler
// only raises a flag, and the backend's next message poll turns it into the quit message, so the
// game still shuts down and writes its output files. A signal ignored when the game starts stays
// ignored (nohup, a background job's SIGINT), and SIGPIPE and SIGXFSZ are write errors (Files.h).
// Faults (SIGSEGV, SIGABRT, ...) are not caught. Caught while an instance lives; the previous
// handlers come back after. On Windows the console's handler does the same for Ctrl+C, Ctrl+Break,
// the console closed, log-off and shut-down (QuitSignals_windows.cpp).
#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

#include <functional>
#include <vector>

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
    // Raises the flag, as a caught signal does (safe in a signal handler).
    static void Raise();
    // Runs work (a modal message box) on a thread of its own and waits for it, but only until a
    // quit signal comes: false then, and the work is left to end with the process.
    static bool RunUnlessRaised(std::function<void()> work);

#ifdef _WIN32
    // The console's handler, for tests to call as Windows does, from a thread of its own.
    static int ConsoleEvent(unsigned long event);
#else
    // The signals that ask to quit.
    static std::vector<int> Caught();
#endif

private:
    // A pause of RunUnlessRaised's wait. On Windows it answers meanwhile what other threads send
    // this one's windows: a message box owned by the game's window waits for that window's answers.
    static void Pause();
#ifndef _WIN32
    struct Taken {
        int signal;
        struct sigaction old;
    };
    std::vector<Taken> m_taken;
#endif
};

}  // namespace plat
