// Where a clock opens again when the place it was dropped at is on no monitor any more.
// The test program's own copy of the library is used, so the remembered place can be set
// as a drag would have left it. Rows that need the second monitor of the two-monitor
// test display skip elsewhere.
#include "kytest.h"

#include <iostream>

#include "clock/clock.h"
#include "clock_script.h"

namespace {

int ownSoftClock()
{
    return kySoftClock();
}

TEST(ClockPlacement, RememberedPlaceOnNoMonitorOpensAtThePrimaryWorkArea)
{
    // The test displays keep no task bar, so the primary work area starts at (0, 0).
    struct Case {
        const char *where;
        POINT remembered;
        bool needsSecondMonitor;
        POINT opened;
    };
    const Case cases[] = {
        {"on the primary monitor", {900, 600}, false, {900, 600}},
        {"below the smaller second monitor", {1200, 650}, false, {0, 0}},
        {"on the second monitor", {1300, 100}, true, {1300, 100}},
        {"partly on the second monitor", {1750, 100}, true, {1750, 100}},
    };
    const bool second = kytest::onTwoMonitorDisplay();
    kytest::startBoxWatcher();
    for (const Case &c : cases) {
        if (c.needsSecondMonitor && !second) {
            std::cout << "[  SKIPPED ] " << c.where << ": needs the two-monitor test display\n";
            continue;
        }
        SCOPED_TRACE(c.where);
        ASSERT_EQ(clockState.clockOn, 0) << "each case starts with the clock off";
        clockState.clockOrigin = c.remembered;
        RECT at = {};
        clocktest::ClockRun run = clocktest::runClock(ownSoftClock, [&](HWND clock) {
            GetWindowRect(clock, &at);
            kySoftClock();
        });
        ASSERT_TRUE(run.scriptRan);
        EXPECT_EQ(at.left, c.opened.x);
        EXPECT_EQ(at.top, c.opened.y);
        EXPECT_EQ(clockState.clockOrigin.x, c.opened.x) << "the clock is remembered where it opened";
    }
    kytest::stopBoxWatcher();
    clockState.clockOrigin = POINT{0, 0};
}

}  // namespace
