// Runs a clock call with a script that acts while the clock's own loop is running: a
// thread timer of the test's thread, dispatched by that loop, starts the script once
// the clock window exists. A safety timer closes a clock that a failed script left open.
#pragma once
#include "kytest.h"

#include <functional>

namespace clocktest {

struct ClockRun {
    int result = -1;
    bool scriptRan = false;   // the script saw an open clock window
    bool forcedClose = false; // the safety timer had to close the clock
    DWORD returnedAt = 0;     // tick count when the call returned
};

// `call` is the kySoftClock under test (the DLL's or the program's own copy); `script`
// receives the clock window. The script must not pump messages after it closes the
// clock: the clock's WM_QUIT belongs to the clock's loop.
ClockRun runClock(int (*call)(), const std::function<void(HWND)> &script);

HWND findClockWindow();

// Number of boxes seen so far, and the one at `index` (or an empty one).
size_t boxCount();
kytest::SeenBox box(size_t index);

}  // namespace clocktest
