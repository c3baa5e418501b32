// The clock on a system that lacks what it needs: the layered-window and alpha-blend
// functions, or the memory for its surface. The test program's own copy of the library
// is used, with its look-up and surface seams replaced.
#include "kytest.h"

#include <string.h>

#include <vector>

#include "clock/clock.h"
#include "clock_script.h"
#include "frame/lazycalls.h"

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
        withholdLazyLibrary(lazyMsImg32, 0);
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
        int msimg32Withheld;
    } cases[] = {
        {"UpdateLayeredWindow", "Not Found Layered Window Support", 0},
        {"SetLayeredWindowAttributes", "Not Found Layered Window Support", 0},
        {"GdiAlphaBlend", "Not Found Alpha Blend Support", 0},
        {"msimg32 (GradientFill)", "Not Found Alpha Blend Support", 1},
    };
    for (const Case &c : cases) {
        kytest::clearSeenBoxes();
        missingName = c.msimg32Withheld ? nullptr : c.missing;
        withholdLazyLibrary(lazyMsImg32, c.msimg32Withheld);
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

// Every UpdateLayeredWindow request the clock makes, recorded and then passed on.
struct LayeredRequest {
    HWND window;
    HDC source;
    SIZE size;
    POINT sourceAt;
    BLENDFUNCTION blend;
    DWORD flags;
};
std::vector<LayeredRequest> layeredRequests;
FARPROC realUpdateLayeredWindow = nullptr;

BOOL WINAPI recordUpdateLayeredWindow(HWND window, HDC screen, POINT *at, SIZE *size, HDC source, POINT *sourceAt,
                                      COLORREF key, BLENDFUNCTION *blend, DWORD flags)
{
    LayeredRequest r = {window, source, size ? *size : SIZE{-1, -1}, sourceAt ? *sourceAt : POINT{-1, -1},
                        blend ? *blend : BLENDFUNCTION{9, 9, 9, 9}, flags};
    layeredRequests.push_back(r);
    return reinterpret_cast<UpdateLayeredWindowFn>(realUpdateLayeredWindow)(window, screen, at, size, source,
                                                                            sourceAt, key, blend, flags);
}

FARPROC WINAPI lookupRecordingLayers(HMODULE module, LPCSTR name)
{
    FARPROC real = GetProcAddress(module, name);
    if (strcmp(name, "UpdateLayeredWindow") != 0 || !real)
        return real;
    realUpdateLayeredWindow = real;
    return reinterpret_cast<FARPROC>(recordUpdateLayeredWindow);
}

// What the screen shows of a layered window is the system's business (Wine on a plain X
// display doesn't blend at all), so the blend is checked where the clock asks for it.
TEST(ClockBlend, EveryFrameAsksForPerPixelAlphaOverWhatLiesBeneath)
{
    Seams seams;
    clockProcLookup = lookupRecordingLayers;
    layeredRequests.clear();
    HWND shown = NULL;
    clocktest::ClockRun run = clocktest::runClock(ownSoftClock, [&](HWND clock) {
        shown = clock;
        SendMessageA(clock, WM_TIMER, clockTimerId, 0);
        SendMessageA(clock, WM_TIMER, clockTimerId, 0);
        SendMessageA(clock, WM_COMMAND, clockCloseCommand, 0);
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_EQ(kySoftClock(), 0) << "and off again";
    ASSERT_GE(layeredRequests.size(), 2u) << "one request per tick";
    for (const LayeredRequest &r : layeredRequests) {
        EXPECT_EQ(r.window, shown);
        EXPECT_NE(r.source, nullptr) << "the clock's surface is the source";
        EXPECT_EQ(r.size.cx, 128);
        EXPECT_EQ(r.size.cy, 128);
        EXPECT_EQ(r.sourceAt.x, 0);
        EXPECT_EQ(r.sourceAt.y, 0);
        EXPECT_EQ(r.flags, DWORD(ULW_ALPHA));
        EXPECT_EQ(r.blend.BlendOp, AC_SRC_OVER);
        EXPECT_EQ(r.blend.BlendFlags, 0);
        EXPECT_EQ(r.blend.SourceConstantAlpha, 255);
        EXPECT_EQ(r.blend.AlphaFormat, AC_SRC_ALPHA) << "each pixel's own alpha";
    }
}

}  // namespace
