// The clock through the DLL, as a program binds it by name: the toggle and its notes,
// the window it shows, the loop that keeps the caller's windows working, dragging,
// the close command and a quit the caller posts while the clock runs.
#include "kytest.h"

#include <string.h>

#include <string>

#include "clock_script.h"

namespace {

using clocktest::box;
using clocktest::boxCount;
using clocktest::findClockWindow;
using clocktest::runClock;

const char activationText[] = "We will activate clock!\nUse mouse to move it";
const char deactivationText[] = "We will deactivate clock!\nThank You.";

// True once any test here has opened the DLL's clock: only the first clock of the
// process comes up at the top-left corner.
bool dllClockOpened = false;

int dllSoftClock()
{
    dllClockOpened = true;
    return KYDLL(kySoftClock)();
}

int dllSoftClockNoMark()
{
    return KYDLL(kySoftClock)();
}

struct Watched {
    Watched()
    {
        kytest::startBoxWatcher();
        kytest::clearSeenBoxes();
    }
    ~Watched() { kytest::stopBoxWatcher(); }
};

void expectNote(size_t index, const char *text)
{
    kytest::SeenBox b = box(index);
    EXPECT_EQ(b.caption, "Note") << "box " << index;
    EXPECT_EQ(b.text, text) << "box " << index;
}

POINT topLeft(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return POINT{r.left, r.top};
}

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return colour;
}

bool onWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Moves the cursor and reports whether the system really put it there.
bool moveCursor(int x, int y)
{
    SetCursorPos(x, y);
    POINT p = {};
    GetCursorPos(&p);
    return p.x == x && p.y == y;
}

TEST(ClockWindow, FirstCallNotesShowsTheFaceOnTopAndASecondCallClosesIt)
{
    Watched watched;
    const bool first = !dllClockOpened;
    HWND background = kytest::createTestWindow(0, 0, 700, 500, RGB(0, 0, 255));
    ASSERT_NE(background, nullptr);
    kytest::pumpMessages(200);

    int secondResult = -1;
    DWORD secondReturnedAt = 0;
    COLORREF centre = CLR_INVALID, rim = CLR_INVALID, outside = CLR_INVALID;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND clock) {
        EXPECT_EQ(boxCount(), 1u) << "only the activation note came before the clock";
        expectNote(0, activationText);
        RECT r = {};
        GetWindowRect(clock, &r);
        EXPECT_EQ(r.right - r.left, 128);
        EXPECT_EQ(r.bottom - r.top, 128);
        if (first) {
            EXPECT_EQ(r.left, 0) << "the first clock of the process comes up at the top-left corner";
            EXPECT_EQ(r.top, 0);
        }
        LONG_PTR exStyle = GetWindowLongPtrA(clock, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_LAYERED) << "per-pixel alpha needs a layered window";
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST) << "the clock stays above other windows";
        EXPECT_TRUE(GetWindowLongPtrA(clock, GWL_STYLE) & WS_POPUP);
        EXPECT_TRUE(IsWindowVisible(clock));
        EXPECT_EQ(GetWindowThreadProcessId(clock, NULL), GetCurrentThreadId()) << "no thread is started";

        // Let some frames reach the screen, then look at it.
        kytest::pumpMessages(400);
        EXPECT_TRUE(IsWindow(background)) << "the caller's window lives on inside the clock's loop";
        centre = screenPixel(r.left + 64, r.top + 64);
        rim = screenPixel(r.left + 64 + 56, r.top + 64);
        outside = screenPixel(r.left + 124, r.top + 124);

        secondResult = dllSoftClockNoMark();
        secondReturnedAt = GetTickCount();
        EXPECT_FALSE(IsWindow(clock)) << "the second call closes the clock before it returns";
        // No pumping from here on: the clock's quit message is for its own loop.
    });

    EXPECT_TRUE(run.scriptRan) << "the clock window appeared while the first call ran";
    EXPECT_FALSE(run.forcedClose) << "the second call closed the clock on its own";
    EXPECT_EQ(secondResult, 0);
    EXPECT_EQ(run.result, 0);
    EXPECT_LT(run.returnedAt - secondReturnedAt, 1000u) << "the first call returns right after the clock closes";
    EXPECT_EQ(boxCount(), 2u);
    expectNote(1, deactivationText);
    EXPECT_EQ(findClockWindow(), nullptr);

    // The face on the screen: black hub, yellow added to the blue at the disc's rim, the
    // desktop unchanged in the clear corner.
    EXPECT_EQ(outside, RGB(0, 0, 255)) << "the clear corner shows the window beneath";
    EXPECT_EQ(centre, RGB(0, 0, 0)) << "the hub hides what lies beneath";
    EXPECT_GT(GetRValue(rim), 10) << "the disc adds yellow over the blue";
    EXPECT_EQ(GetRValue(rim), GetGValue(rim));
    DestroyWindow(background);
}

TEST(ClockWindow, TranslucentDiscBlendsWithTheDesktopBeneath)
{
    Watched watched;
    HWND background = kytest::createTestWindow(0, 0, 700, 500, RGB(0, 0, 255));
    ASSERT_NE(background, nullptr);
    kytest::pumpMessages(200);
    COLORREF rim = CLR_INVALID, text = CLR_INVALID;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND clock) {
        POINT at = topLeft(clock);
        kytest::pumpMessages(400);
        rim = screenPixel(at.x + 64 + 56, at.y + 64);
        // The text's cells are transparent black plus white glyphs: look for white.
        text = RGB(0, 0, 0);
        for (int x = 0; x < 40 && text != RGB(255, 255, 255); ++x)
            for (int y = 0; y < 16; ++y)
                if (screenPixel(at.x + x, at.y + y) == RGB(255, 255, 255))
                    text = RGB(255, 255, 255);
        dllSoftClockNoMark();
    });
    ASSERT_TRUE(run.scriptRan);
    if (onWine()) {
        // Wine on this X display (no compositing manager) shows a layered window's own
        // premultiplied pixels, the alpha only cutting its shape: the rim is the disc's faint
        // yellow on black, nothing of the blue beneath, and the time's cells are black. The
        // blend the clock asks for is checked in ClockBlend.
        EXPECT_EQ(rim, RGB(31, 31, 0)) << "the disc's own rim pixel, unblended";
        DestroyWindow(background);
        return;
    }
    EXPECT_GT(GetBValue(rim), 200) << "the blue beneath shows through the nearly clear rim";
    EXPECT_GT(GetRValue(rim), 10) << "with a little yellow added";
    EXPECT_EQ(text, RGB(255, 255, 255)) << "the time brightens what lies beneath it to white";
    DestroyWindow(background);
}

TEST(ClockWindow, DragMovesTheClockAndAReopenedClockComesBackThere)
{
    Watched watched;
    if (!moveCursor(300, 300))
        GTEST_SKIP() << "this display does not let the test place the cursor, so no drag can be made";

    POINT before = {}, afterIdleMove = {}, afterDrag = {}, afterRelease = {};
    bool captured = false, releasedCapture = false;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND clock) {
        before = topLeft(clock);
        // A move without the button changes nothing.
        moveCursor(before.x + 10, before.y + 10);
        SendMessageA(clock, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
        moveCursor(before.x + 100, before.y + 60);
        SendMessageA(clock, WM_MOUSEMOVE, 0, MAKELPARAM(100, 60));
        afterIdleMove = topLeft(clock);

        // Press, move by (150, 90) in two steps, release.
        moveCursor(before.x + 20, before.y + 20);
        SendMessageA(clock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        captured = GetCapture() == clock;
        moveCursor(before.x + 20 + 50, before.y + 20 + 30);
        SendMessageA(clock, WM_MOUSEMOVE, MK_LBUTTON, 0);
        moveCursor(before.x + 20 + 150, before.y + 20 + 90);
        SendMessageA(clock, WM_MOUSEMOVE, MK_LBUTTON, 0);
        afterDrag = topLeft(clock);
        SendMessageA(clock, WM_LBUTTONUP, 0, 0);
        releasedCapture = GetCapture() == NULL;

        moveCursor(before.x + 400, before.y + 300);
        SendMessageA(clock, WM_MOUSEMOVE, 0, 0);
        afterRelease = topLeft(clock);
        dllSoftClockNoMark();
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_EQ(afterIdleMove.x, before.x) << "a move without the left button leaves the clock in place";
    EXPECT_EQ(afterIdleMove.y, before.y);
    EXPECT_TRUE(captured) << "the press captures the mouse so the drag goes on outside the window";
    EXPECT_EQ(afterDrag.x, before.x + 150) << "the clock follows the cursor";
    EXPECT_EQ(afterDrag.y, before.y + 90);
    EXPECT_TRUE(releasedCapture);
    EXPECT_EQ(afterRelease.x, afterDrag.x) << "after the release the clock stays where it was dropped";
    EXPECT_EQ(afterRelease.y, afterDrag.y);

    POINT reopened = {};
    run = runClock(dllSoftClock, [&](HWND clock) {
        reopened = topLeft(clock);
        dllSoftClockNoMark();
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_EQ(reopened.x, afterDrag.x) << "a clock opened again comes back where the last one was dropped";
    EXPECT_EQ(reopened.y, afterDrag.y);
    EXPECT_EQ(boxCount(), 4u) << "two activation and two deactivation notes";
}

TEST(ClockWindow, CloseCommandEndsTheLoopAndTheNextCallClosesNothing)
{
    Watched watched;
    bool survivedOtherCommand = false;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND clock) {
        SendMessageA(clock, WM_COMMAND, 106, 0);
        survivedOtherCommand = IsWindow(clock) != FALSE;
        SendMessageA(clock, WM_COMMAND, 105, 0);
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_TRUE(survivedOtherCommand) << "only command 105 closes the clock";
    EXPECT_FALSE(run.forcedClose) << "command 105 closed the clock and ended its loop";
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(boxCount(), 1u);
    WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
    EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(NULL), "kydoru", &wc))
        << "the clock's class goes with its window";

    // The toggle still says "on": the next call only says goodbye.
    HWND bystander = kytest::createTestWindow(200, 200, 200, 100, RGB(0, 128, 0));
    DWORD started = GetTickCount();
    EXPECT_EQ(KYDLL(kySoftClock)(), 0);
    EXPECT_LT(GetTickCount() - started, 5000u) << "a closing call does not wait";
    EXPECT_EQ(boxCount(), 2u);
    expectNote(1, deactivationText);
    EXPECT_TRUE(IsWindow(bystander)) << "no other window is closed in the clock's place";
    DestroyWindow(bystander);
}

TEST(ClockWindow, QuitPostedByTheCallerClosesTheClockAndReachesTheCaller)
{
    Watched watched;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND) {
        PostQuitMessage(7);  // as the caller's main window does when it closes
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_FALSE(run.forcedClose);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(findClockWindow(), nullptr) << "the clock does not outlive its loop";
    MSG quit = {};
    EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the caller's quit is passed on to the caller's own loop";
    EXPECT_EQ(quit.wParam, 7u) << "with the caller's exit code";
    EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "the toggle is still on: this call only says goodbye";
    EXPECT_EQ(boxCount(), 2u);
    expectNote(1, deactivationText);
}

int callDuringNoteResult = -1;
DWORD noteTimerStarted = 0;

BOOL CALLBACK findNote(HWND window, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0 && IsWindowVisible(window))
        *reinterpret_cast<bool *>(found) = true;
    return TRUE;
}

// A handler of the caller that runs while the activation note is up. The box watcher
// starts only here, so the note can't be answered before this call is made.
void CALLBACK callDuringNote(HWND, UINT, UINT_PTR id, DWORD)
{
    bool noteUp = false;
    EnumThreadWindows(GetCurrentThreadId(), findNote, reinterpret_cast<LPARAM>(&noteUp));
    if (!noteUp && GetTickCount() - noteTimerStarted < 5000)
        return;
    KillTimer(NULL, id);
    kytest::startBoxWatcher();
    if (noteUp)
        callDuringNoteResult = KYDLL(kySoftClock)();
}

TEST(ClockWindow, CallDuringTheActivationNoteCancelsTheClock)
{
    kytest::stopBoxWatcher();
    kytest::clearSeenBoxes();
    callDuringNoteResult = -1;
    noteTimerStarted = GetTickCount();
    UINT_PTR timer = SetTimer(NULL, 0, 10, callDuringNote);
    clocktest::ClockRun run = runClock(dllSoftClock, [](HWND clock) { SendMessageA(clock, WM_COMMAND, 105, 0); });
    KillTimer(NULL, timer);
    struct StopWatcher {
        ~StopWatcher() { kytest::stopBoxWatcher(); }
    } stopAtEnd;
    EXPECT_EQ(callDuringNoteResult, 0) << "the call made while the note was up";
    EXPECT_FALSE(run.scriptRan) << "the clock, turned off again before it opened, never opens";
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(boxCount(), 2u);
    // Both notes were up together, so the watcher may have seen either first.
    std::string texts = box(0).text + "|" + box(1).text;
    EXPECT_NE(texts.find(activationText), std::string::npos);
    EXPECT_NE(texts.find(deactivationText), std::string::npos);

    // The toggle is off, so the next call opens the clock again.
    kytest::clearSeenBoxes();
    run = runClock(dllSoftClock, [](HWND) { dllSoftClockNoMark(); });
    EXPECT_TRUE(run.scriptRan) << "the toggle was left off";
    EXPECT_EQ(boxCount(), 2u);
}

TEST(ClockWindow, CallersIconsAndAcceleratorsAreUsed)
{
    Watched watched;
    HMODULE program = GetModuleHandleA(NULL);
    const bool hasResources = FindResourceA(program, MAKEINTRESOURCEA(109), MAKEINTRESOURCEA(9)) != NULL;
    ULONG_PTR largeIcon = 1, smallIcon = 1;
    clocktest::ClockRun run = runClock(dllSoftClock, [&](HWND clock) {
        largeIcon = GetClassLongPtrA(clock, GCLP_HICON);
        smallIcon = GetClassLongPtrA(clock, GCLP_HICONSM);
        if (hasResources)
            PostMessageA(clock, WM_KEYDOWN, VK_F9, 1);  // the program's table maps F9 to command 105
        else
            SendMessageA(clock, WM_COMMAND, 105, 0);
    });
    ASSERT_TRUE(run.scriptRan);
    EXPECT_EQ(KYDLL(kySoftClock)(), 0);
    if (!hasResources) {
        EXPECT_EQ(largeIcon, 0u) << "a program without icon 107 gives the class none";
        GTEST_SKIP() << "this test program carries no icons or accelerator table (the 32-bit program links "
                        "every test and has no resources), so only their absence is checked";
    }
    EXPECT_NE(largeIcon, 0u) << "icon 107 of the calling program";
    EXPECT_NE(smallIcon, 0u) << "icon 108 of the calling program";
    EXPECT_FALSE(run.forcedClose) << "F9 was translated through accelerator table 109 into command 105";
    EXPECT_EQ(run.result, 0);
}

}  // namespace
