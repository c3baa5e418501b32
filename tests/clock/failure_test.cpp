// The clock on a system that lacks what it needs: the layered-window and alpha-blend
// functions, or the memory for its surface. The test program's own copy of the library
// is used, with its look-up and surface seams replaced.
#include "kytest.h"

#include <string.h>

#include "clock/clock.h"
#include "clock_script.h"

namespace {

using clocktest::box;
using clocktest::boxCount;

const char *missingName = nullptr;

FARPROC WINAPI lookupWithout(HMODULE module, LPCSTR name)
{
    if (missingName && strcmp(name, missingName) == 0)
        return NULL;
    return GetProcAddress(module, name);
}

HBITMAP WINAPI noSection(HDC, const BITMAPINFO *, UINT, void **bits, HANDLE, DWORD)
{
    *bits = NULL;
    return NULL;
}

int ownSoftClock()
{
    return kySoftClock();
}

struct Seams {
    Seams()
    {
        kytest::startBoxWatcher();
        kytest::clearSeenBoxes();
    }
    ~Seams()
    {
        clockProcLookup = GetProcAddress;
        clockCreateDibSection = CreateDIBSection;
        missingName = nullptr;
        kytest::stopBoxWatcher();
    }
};

TEST(ClockFailures, MissingOptionalFunctionIsReportedOnceAndTheCallReturns)
{
    Seams seams;
    clockProcLookup = lookupWithout;
    struct Case {
        const char *missing;
        const char *message;
    } cases[] = {
        {"UpdateLayeredWindow", "Not Found Layered Window Support"},
        {"SetLayeredWindowAttributes", "Not Found Layered Window Support"},
        {"GdiAlphaBlend", "Not Found Alpha Blend Support"},
    };
    for (const Case &c : cases) {
        kytest::clearSeenBoxes();
        missingName = c.missing;
        ASSERT_EQ(clockState.clockOn, 0) << "each case starts with the clock off";
        clocktest::ClockRun run = clocktest::runClock(ownSoftClock, [](HWND) {});
        EXPECT_EQ(run.result, 0) << c.missing;
        EXPECT_FALSE(run.scriptRan) << "no clock window appears without " << c.missing;
        kytest::pumpMessages(100);
        ASSERT_EQ(boxCount(), 2u) << "the activation note and one error, without " << c.missing;
        EXPECT_EQ(box(0).caption, "Note");
        EXPECT_EQ(box(1).caption, "Error");
        EXPECT_EQ(box(1).text, c.message);
        EXPECT_EQ(clockState.clockOn, 1) << "the toggle follows the calls, not the outcome";
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(NULL), "kydoru", &wc)) << "no class is left behind";

        EXPECT_EQ(kySoftClock(), 0) << "the next call says goodbye and closes nothing";
        EXPECT_EQ(boxCount(), 3u);
        EXPECT_EQ(box(2).text, "We will deactivate clock!\nThank You.");
        EXPECT_EQ(clockState.clockOn, 0);
    }
}

TEST(ClockFailures, MissingSurfaceIsReportedAndTheBlankClockNeitherDrawsNorMoves)
{
    Seams seams;
    clockCreateDibSection = noSection;
    ASSERT_EQ(clockState.clockOn, 0);
    unsigned int ticksBefore = clockState.clockTicks;
    POINT originBefore = clockState.clockOrigin;
    RECT before = {}, after = {};
    size_t boxesAtOpen = 0;
    bool opened = false;
    clocktest::ClockRun run = clocktest::runClock(ownSoftClock, [&](HWND clock) {
        opened = true;
        // The error box is shown after the window is made; this script may run inside it.
        kytest::waitForBoxes(2, 10000);
        boxesAtOpen = boxCount();
        GetWindowRect(clock, &before);
        SendMessageA(clock, WM_TIMER, clockTimerId, 0);
        kytest::pumpMessages(300);  // the clock's own timer fires too
        SetCursorPos(before.left + 5, before.top + 5);
        SendMessageA(clock, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SetCursorPos(before.left + 205, before.top + 105);
        SendMessageA(clock, WM_MOUSEMOVE, MK_LBUTTON, 0);
        SendMessageA(clock, WM_LBUTTONUP, 0, 0);
        GetWindowRect(clock, &after);
        SendMessageA(clock, WM_COMMAND, clockCloseCommand, 0);
    });
    ASSERT_TRUE(opened) << "the window itself is made; only its surface is missing";
    EXPECT_EQ(boxesAtOpen, 2u);
    EXPECT_EQ(box(1).caption, "Error");
    EXPECT_EQ(box(1).text, "Out of memory.");
    EXPECT_EQ(clockState.clockTicks, ticksBefore) << "nothing was drawn into the missing surface";
    EXPECT_EQ(clockState.clockOrigin.x, originBefore.x) << "the window was not moved over the missing surface";
    EXPECT_EQ(clockState.clockOrigin.y, originBefore.y);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_FALSE(run.forcedClose) << "the loop ended cleanly when the window closed";
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(clockState.window, nullptr);
    EXPECT_EQ(clockState.memoryDc, nullptr) << "the memory context was released with the window";

    EXPECT_EQ(kySoftClock(), 0);
    EXPECT_EQ(clockState.clockOn, 0);
}

}  // namespace
