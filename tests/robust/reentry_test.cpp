// Re-entrancy: every export called from a handler that runs nested inside a library call
// (an effect's pause, the clock's loop, the logo show's pump). The snapshot effects
// refuse while one runs; everything else runs nested, and the outer call still finishes
// as it would have alone.
#include "kytest.h"

#include <atomic>
#include <climits>
#include <shellapi.h>
#include <thread>

#include "../logo/logo_gl.h"
#include "sweep.h"

namespace {

enum Context { inEffect, inClock, inLogo };

const COLORREF fill = RGB(30, 160, 90);
const DWORD refusedMs = 50;  // a refusal returns at once; the nested effects below take longer

struct Windows {
    HWND outer, wide, narrow;
};

std::vector<std::string> problems;
int exportsCalled = 0;

void problem(const std::string &what)
{
    problems.push_back(what);
}

template <class F>
DWORD timed(F call)
{
    const DWORD start = GetTickCount();
    call();
    return GetTickCount() - start;
}

void expectResult(const char *name, long long got, long long want)
{
    ++exportsCalled;
    if (got != want)
        problem(std::string(name) + " returned " + std::to_string(got) + ", want " + std::to_string(want));
}

void CALLBACK closeNestedClock(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!sweep::clockLoopRunning())
        return;  // not yet: the opening note or the depth warning is still up
    KillTimer(NULL, id);
    KYDLL(kySoftClock)();
}

// A second show (nested) is closed once it appears; `skip` is the outer show's window.
void closeShowSoon(std::atomic<bool> *returned, HWND skip)
{
    for (;;) {
        HWND show = FindWindowExA(NULL, NULL, "OpenGL", NULL);
        if (show == skip && show)
            show = FindWindowExA(NULL, show, "OpenGL", NULL);
        if (show) {
            Sleep(200);
            PostMessageA(show, WM_CLOSE, 0, 0);
            return;
        }
        if (*returned)
            return;
        Sleep(20);
    }
}

bool glHere()
{
    static int available = -1;
    if (available < 0) {
        std::string why;
        available = logotest::glAvailable(&why) ? 1 : 0;
    }
    return available == 1;
}

// Calls every export that doesn't act on the machine for real, checking each result.
void callEveryExport(Context context, const Windows &w)
{
    // Effects first, while the windows show their own pictures.
    DWORD took = timed([&] { expectResult("kyWindowBmpEffect", KYDLL(kyWindowBmpEffect)(w.wide, 7, 2), 1); });
    if (context == inEffect ? took >= refusedMs : took < refusedMs)
        problem("nested kyWindowBmpEffect took " + std::to_string(took) +
                (context == inEffect ? " ms: it should refuse at once" : " ms: it should have played"));
    took = timed([&] { expectResult("kyDesktopBmpEffect", KYDLL(kyDesktopBmpEffect)(7, 0), 1); });
    if (context == inEffect ? took >= refusedMs : took < refusedMs)
        problem("nested kyDesktopBmpEffect took " + std::to_string(took) +
                (context == inEffect ? " ms: it should refuse at once" : " ms: it should have played"));
    took = timed([&] { expectResult("kyWindowBmpEffect2", KYDLL(kyWindowBmpEffect2)(w.wide, w.wide, 7), 1); });
    if (took < refusedMs)
        problem("nested kyWindowBmpEffect2 returned at once (" + std::to_string(took) + " ms): it should have played");
    expectResult("kyWindowErase", KYDLL(kyWindowErase)(w.narrow), 1);
    expectResult("kyWindowD1", KYDLL(kyWindowD1)(w.narrow), 1);

    // Display and window appearance.
    int b = 0, width = 0, h = 0, r = 0;
    expectResult("kyGetCurrentVideoMode", KYDLL(kyGetCurrentVideoMode)(&b, &width, &h, &r), 1);
    const int can = sweep::testedMode(1024, 768);
    expectResult("kyCanChangeVideoMode", KYDLL(kyCanChangeVideoMode)(), sweep::listedModeAnswer(1024, 768));
    expectResult("kyChangeVideoModeTemporarily", KYDLL(kyChangeVideoModeTemporarily)(), can);
    expectResult("kyChangeVideoModePermanently", KYDLL(kyChangeVideoModePermanently)(), can);
    expectResult("kyFullScreen", KYDLL(kyFullScreen)(), sweep::testedMode(800, 600));
    const int cursor = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    expectResult("kyCancelFullScreen", KYDLL(kyCancelFullScreen)(), cursor + 1);
    ShowCursor(FALSE);
    expectResult("kySetWTransparent", KYDLL(kySetWTransparent)(w.wide, 230), 1);
    expectResult("kyRemoveWindowTrans", KYDLL(kyRemoveWindowTrans)(w.wide), 1);
    int flashed = KYDLL(kyFlashWindow)(w.wide, 2);
    expectResult("kyFlashWindow", flashed == 0 || flashed == 1, 1);

    // Shell: each result is the system's for the window it finds.
    HWND tray = FindWindowA("Shell_TrayWnd", NULL);
    struct Element {
        const char *name;
        int (KYCALL *call)(void);
    };
    for (const Element &e : {Element{"kyHideTaskBar", KYDLL(kyHideTaskBar)}, Element{"kyShowTaskBar", KYDLL(kyShowTaskBar)},
                             Element{"kyHideStartButton", KYDLL(kyHideStartButton)},
                             Element{"kyShowStartButton", KYDLL(kyShowStartButton)},
                             Element{"kyHideSystemClock", KYDLL(kyHideSystemClock)},
                             Element{"kyShowSystemClock", KYDLL(kyShowSystemClock)}}) {
        int got = e.call();
        if (!tray)
            expectResult(e.name, got, 0);
        else
            expectResult(e.name, got == 0 || got == 1, 1);
    }
    expectResult("kyHideDesktopIcons", KYDLL(kyHideDesktopIcons)(), 0);
    expectResult("kyShowDesktopIcons", KYDLL(kyShowDesktopIcons)(), 0);
    const bool desktopShown = IsWindowVisible(GetDesktopWindow());
    int hidden = KYDLL(kyHideDesktop)();
    const bool stillShown = IsWindowVisible(GetDesktopWindow());
    expectResult("kyHideDesktop", hidden, stillShown ? 0 : desktopShown);
    int shown = KYDLL(kyShowDesktop)();
    expectResult("kyShowDesktop", shown != 0, stillShown);

    // The alternate desktop from a thread that owns windows: the thread can't be moved,
    // so the screen is not switched either and there is nothing to switch back.
    expectResult("kyNewDesktopOn", KYDLL(kyNewDesktopOn)(), 0);
    expectResult("kyNewDesktopOff", KYDLL(kyNewDesktopOff)(), 0);
    expectResult("kyNewDesktopOff", KYDLL(kyNewDesktopOff)(), 0);

    // Lock keys asked for the state they are in: nothing is pressed, nothing changes.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const int caps = keys[VK_CAPITAL] & 1, num = keys[VK_NUMLOCK] & 1;
    KYDLL(kySetCapsLock)(caps ? INT_MIN : 0);
    KYDLL(kySetNumLock)(num ? INT_MAX : 0);
    GetKeyboardState(keys);
    expectResult("kySetCapsLock", keys[VK_CAPITAL] & 1, caps);
    expectResult("kySetNumLock", keys[VK_NUMLOCK] & 1, num);

    // Serial channel with no port open: every call fails.
    unsigned char byte = 0x55;
    expectResult("ky_ComOpen", reinterpret_cast<INT_PTR>(KYDLL(ky_ComOpen)("COM99")), 0);
    expectResult("ky_ComConf", KYDLL(ky_ComConf)(19200, 8, 0, 0, 0), 0);
    expectResult("ky_SetComTimeouts", KYDLL(ky_SetComTimeouts)(60, 100, 1, 60, 100), 0);
    expectResult("ky_WriteByte", KYDLL(ky_WriteByte)(&byte), 0);
    expectResult("ky_ReadByte", KYDLL(ky_ReadByte)(&byte), 0);
    expectResult("kySetupComm", KYDLL(kySetupComm)(0, 1024, 1024), 0);
    expectResult("kyCommRTerminate", KYDLL(kyCommRTerminate)(), 0);
    expectResult("kyCommWTerminate", KYDLL(kyCommWTerminate)(), 0);
    expectResult("kyCommIBClear", KYDLL(kyCommIBClear)(), 0);
    expectResult("kyCommOBClear", KYDLL(kyCommOBClear)(), 0);
    expectResult("ky_ClosePort", KYDLL(ky_ClosePort)(), 0);

    // Identity, folders, applets.
    char text[64];
    memset(text, 'x', sizeof text);
    if (kytest::storageQuerySurvives()) {
        expectResult("kyHDid", KYDLL(kyHDid)(9, 2, text), 0);
        expectResult("kyHDid buffer", text[0], 0);
    }
    char path[MAX_PATH] = "";
    KYDLL(kyGetWSPath)(path);
    expectResult("kyGetWSPath", sweep::isSystemFolder(path), 1);
    expectResult("kyProcSpeed", KYDLL(kyProcSpeed)(), sweep::recordedMhz());
    char found[MAX_PATH];
    if (!SearchPathA(NULL, "main.cpl", NULL, MAX_PATH, found, NULL) &&
        !SearchPathA(NULL, "timedate.cpl", NULL, MAX_PATH, found, NULL)) {
        // The shell's answers above 32 mean it started something; here there is nothing.
        expectResult("kySystemDialogMP", KYDLL(kySystemDialogMP)() <= 32, 1);
        expectResult("kySystemDialogTD", KYDLL(kySystemDialogTD)() <= 32, 1);
    }

    // The loops last: a nested clock is closed by a timer; a nested show by a thread.
    if (context != inClock) {
        SetTimer(NULL, 0, 400, closeNestedClock);
        expectResult("kySoftClock", KYDLL(kySoftClock)(), 0);
        if (FindWindowA("kydoru", NULL))
            problem("the nested clock is still open");
    }
    if (context == inLogo) {
        // The show's class is taken by the running show: the nested call is refused.
        expectResult("kyLogo", KYDLL(kyLogo)(), -1);
    } else if (glHere()) {
        std::atomic<bool> returned{false};
        std::thread closer(closeShowSoon, &returned, HWND(NULL));
        expectResult("kyLogo", KYDLL(kyLogo)(), 0);
        returned = true;
        closer.join();
    }
    if (context == inClock)
        expectResult("kySoftClock", KYDLL(kySoftClock)(), 0);  // the second call: closes the clock
}

class Reentry : public testing::Test {
protected:
    void SetUp() override
    {
        problems.clear();
        exportsCalled = 0;
        kytest::startBoxWatcher();
        w_.outer = kytest::createTestWindow(20, 20, 120, 90, fill, WS_POPUP | WS_VISIBLE);
        w_.wide = kytest::createTestWindow(20, 200, 300, 40, RGB(200, 200, 0), WS_POPUP | WS_VISIBLE);
        w_.narrow = kytest::createTestWindow(400, 20, 3, 20, RGB(0, 0, 200), WS_POPUP | WS_VISIBLE);
        kytest::pumpMessages(100);
    }
    void TearDown() override
    {
        kytest::testWindowApp = nullptr;
        sweep::destroyWindows({w_.outer, w_.wide, w_.narrow});
        kytest::stopBoxWatcher();
        MSG msg;
        while (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    void report(int nestedRuns)
    {
        EXPECT_EQ(nestedRuns, 1) << "the handler ran inside the outer call";
        EXPECT_GE(exportsCalled, 40) << "the nested handler reached the end of its list";
        for (const std::string &p : problems)
            ADD_FAILURE() << p;
    }
    Windows w_;
};

TEST_F(Reentry, InsideAnEffectsPause)
{
    int nestedRuns = 0;
    kytest::testWindowApp = [&](HWND, WPARAM) {
        ++nestedRuns;
        callEveryExport(inEffect, w_);
    };
    PostMessageA(w_.narrow, WM_APP, 0, 0);  // dispatched at the outer effect's first pause
    int outer = KYDLL(kyWindowBmpEffect)(w_.outer, 2, 1);
    EXPECT_EQ(outer, 1);
    EXPECT_TRUE(kytest::waitUntil([&] { return sweep::pixelAt(w_.outer, 60, 45) == fill; }, 1000))
        << "the outer effect brought its snapshot back";
    // The busy flag is down again: a call now plays in full.
    DWORD took = timed([&] { KYDLL(kyWindowBmpEffect)(w_.wide, 7, 1); });
    EXPECT_GE(took, refusedMs) << "a snapshot effect after the outer one runs again";
    report(nestedRuns);
}

int clockNestedRuns = 0;
Windows clockWindows;

void CALLBACK runNestedInClock(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!sweep::clockLoopRunning())
        return;  // not yet: the opening note or the depth warning is still up
    KillTimer(NULL, id);
    ++clockNestedRuns;
    callEveryExport(inClock, clockWindows);
}

TEST_F(Reentry, InsideTheClocksLoop)
{
    clockNestedRuns = 0;
    clockWindows = w_;
    SetTimer(NULL, 0, 300, runNestedInClock);
    int outer = KYDLL(kySoftClock)();
    EXPECT_EQ(outer, 0);
    EXPECT_EQ(FindWindowA("kydoru", NULL), HWND(NULL)) << "the nested second call closed the clock";
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit left for the caller's loop";
    report(clockNestedRuns);
}

TEST_F(Reentry, InsideTheLogoShowsPump)
{
    if (!glHere())
        GTEST_SKIP() << "OpenGL is not available in this run, so the show can't run";
    logotest::InFolder here(kytest::programFolder());
    // The show pumps only its own window, but messages sent from another thread are
    // delivered to any window of the thread while it peeks: that is how a handler of the
    // caller's runs nested inside the show.
    int nestedRuns = 0;
    kytest::testWindowApp = [&](HWND, WPARAM) {
        ++nestedRuns;
        callEveryExport(inLogo, w_);
    };
    std::atomic<bool> returned{false};
    std::thread driver([&] {
        HWND show = NULL;
        while (!returned && !(show = FindWindowA("OpenGL", NULL)))
            Sleep(20);
        if (!show)
            return;
        Sleep(300);
        // Minimized, the show has no frame waiting to be drawn; shown, every pause of a
        // nested effect would also draw one GL frame of the show, which makes the nested
        // list take minutes without showing anything more.
        ShowWindow(show, SW_MINIMIZE);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(w_.narrow, WM_APP, 0, 0, SMTO_NORMAL, 120000, &ignored);
        PostMessageA(show, WM_CLOSE, 0, 0);
    });
    int outer = KYDLL(kyLogo)();
    returned = true;
    driver.join();
    EXPECT_EQ(outer, 0);
    EXPECT_EQ(FindWindowA("OpenGL", NULL), HWND(NULL)) << "the show's window is gone";
    report(nestedRuns);
}

}  // namespace
