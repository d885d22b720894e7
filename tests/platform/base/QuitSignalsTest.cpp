// A modal wait (a message box) ends when a quit signal comes, without waiting for the click.
#include <gtest/gtest.h>

#include <csignal>
#include <future>

#include "platform/base/QuitSignals.h"

namespace {

// Asks to quit as the system does: SIGTERM, or on Windows the console's Ctrl+C (CTRL_C_EVENT, 0).
void AskToQuit() {
#ifdef _WIN32
    plat::QuitSignals::ConsoleEvent(0);
#else
    std::raise(SIGTERM);
#endif
}

}  // namespace

TEST(QuitSignals, WaitingForWorkEndsWithTheWorkOrAQuitSignal) {
    const plat::QuitSignals signals;
    EXPECT_TRUE(plat::QuitSignals::RunUnlessRaised([] {}));
    EXPECT_FALSE(plat::QuitSignals::Raised());

    // Work that never ends by itself while the test waits: a box nobody clicks.
    std::promise<void> click;
    std::shared_future<void> clicked = click.get_future().share();
    EXPECT_FALSE(plat::QuitSignals::RunUnlessRaised([clicked] {
        AskToQuit();
        clicked.wait();
    }));
    EXPECT_TRUE(plat::QuitSignals::Take());
    click.set_value();  // lets the left thread end
}
