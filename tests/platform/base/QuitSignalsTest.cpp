// A modal wait (a message box) ends when a quit signal comes, without waiting for the click.
#include <gtest/gtest.h>

#include <csignal>
#include <future>

#include "platform/base/QuitSignals.h"

TEST(QuitSignals, WaitingForWorkEndsWithTheWorkOrAQuitSignal) {
    const plat::QuitSignals signals;
    EXPECT_TRUE(plat::QuitSignals::RunUnlessRaised([] {}));
    EXPECT_FALSE(plat::QuitSignals::Raised());

    // Work that never ends by itself while the test waits: a box nobody clicks.
    std::promise<void> click;
    std::shared_future<void> clicked = click.get_future().share();
    EXPECT_FALSE(plat::QuitSignals::RunUnlessRaised([clicked] {
        std::raise(SIGTERM);
        clicked.wait();
    }));
    EXPECT_TRUE(plat::QuitSignals::Take());
    click.set_value();  // lets the left thread end
}
