#include <windows.h>

#include <chrono>

#include "platform/base/QuitSignals.h"
#include "platform/base/RunEnd.h"

namespace plat {
namespace {

// How long Windows lets a console handler take before it ends the process anyway.
constexpr std::chrono::milliseconds kSystemGrace{5000};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    QuitSignals::Raise();
    // Ctrl+C and Ctrl+Break leave the process running: the loop quits at its next poll. Closing the
    // console, log-off and shut-down end it as soon as this returns, so first the run finishes.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) RunEnd::WaitUntilFinished(kSystemGrace);
    return TRUE;
}

}  // namespace

void QuitSignals::Pause() {
    constexpr DWORD kPauseMs = 20;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPauseMs, QS_SENDMESSAGE);
    MSG sent;
    PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // answers the sent ones only
}

QuitSignals::QuitSignals() {
    Take();  // an event before this run asked nothing of it
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

QuitSignals::~QuitSignals() {
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
}

int QuitSignals::ConsoleEvent(unsigned long event) {
    return OnConsoleEvent(event);
}

}  // namespace plat
