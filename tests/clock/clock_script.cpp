// The clock test script runner (see clock_script.h).
#include "clock_script.h"

namespace clocktest {

namespace {

std::function<void(HWND)> pending;
bool ran, forced;
DWORD startedAt;
const DWORD safetyLimitMs = 20000;

void CALLBACK scriptTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND clock = findClockWindow();
    if (!clock || !pending)
        return;  // the activation note may still be up; try again on the next tick
    KillTimer(NULL, id);
    std::function<void(HWND)> script = std::move(pending);
    pending = nullptr;
    ran = true;
    script(clock);
}

void CALLBACK safetyTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (GetTickCount() - startedAt < safetyLimitMs)
        return;
    KillTimer(NULL, id);
    if (HWND clock = findClockWindow()) {
        forced = true;
        DestroyWindow(clock);
    }
}

}  // namespace

HWND findClockWindow()
{
    return FindWindowA("kydoru", "KY DORU CLOCK");
}

ClockRun runClock(int (*call)(), const std::function<void(HWND)> &script)
{
    pending = script;
    ran = forced = false;
    startedAt = GetTickCount();
    UINT_PTR scriptId = SetTimer(NULL, 0, 20, scriptTimer);
    UINT_PTR safetyId = SetTimer(NULL, 0, 500, safetyTimer);
    ClockRun run;
    run.result = call();
    run.returnedAt = GetTickCount();
    KillTimer(NULL, scriptId);
    KillTimer(NULL, safetyId);
    pending = nullptr;
    run.scriptRan = ran;
    run.forcedClose = forced;
    return run;
}

size_t boxCount()
{
    return kytest::seenBoxes().size();
}

kytest::SeenBox box(size_t index)
{
    std::vector<kytest::SeenBox> boxes = kytest::seenBoxes();
    return index < boxes.size() ? boxes[index] : kytest::SeenBox();
}

}  // namespace clocktest
