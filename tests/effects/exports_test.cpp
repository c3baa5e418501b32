// The effect exports on real windows of the test display, the pause's message handling
// and the release of every GDI object an effect makes.
#include "kytest.h"

#include <functional>

#include "effects/effects.h"
#include "surfaces.h"

namespace {

// A hidden window whose WM_APP runs the test's current probe: the probe runs at the
// first pause of an effect when the message is posted before the call.
std::function<void(WPARAM)> probe;
int probesRun = 0;

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ++probesRun;
        if (probe)
            probe(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND probeWindow()
{
    static HWND window = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = probeProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "kyEffectsProbe";
        RegisterClassA(&wc);
        return CreateWindowA("kyEffectsProbe", "", 0, 0, 0, 0, 0, NULL, NULL, GetModuleHandleA(NULL), NULL);
    }();
    return window;
}

// A painted popup window: its window context is its client area, with no frame.
HWND paintedWindow(int x, int y, int width, int height, COLORREF fill)
{
    HWND window = kytest::createTestWindow(x, y, width, height, fill, WS_POPUP | WS_VISIBLE);
    kytest::pumpMessages(150);
    return window;
}

// What the window shows now, frame included, read through its window context.
std::vector<uint32_t> shows(HWND window)
{
    RECT outer;
    GetWindowRect(window, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    fx::Surface copy = fx::makeSurface(width, height);
    HDC dc = GetWindowDC(window);
    BitBlt(copy.dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
    std::vector<uint32_t> pixels(copy.bits, copy.bits + width * height);
    fx::freeSurface(copy);
    for (uint32_t &p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

uint32_t pixelAt(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

double whiteShare(const std::vector<uint32_t> &pixels)
{
    size_t white = 0;
    for (uint32_t p : pixels)
        white += p == 0xFFFFFF;
    return pixels.empty() ? 0 : double(white) / pixels.size();
}

struct Cleanup {
    std::vector<HWND> windows;
    ~Cleanup()
    {
        probe = nullptr;
        for (HWND w : windows)
            DestroyWindow(w);
        kytest::pumpMessages(20);
    }
};

TEST(SnapshotEffects, WindowIsBlankedThenShowsItsSnapshotAgain)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 200, 120, RGB(30, 140, 220));
    cleanup.windows.push_back(window);
    const std::vector<uint32_t> before = shows(window);
    ASSERT_EQ(before[60 * 200 + 100], 0x1E8CDCu) << "the test window shows its fill";
    struct Mode { int blank; uint32_t colour; } modes[] = {{1, 0x000000}, {2, 0xFFFFFF}, {0, 0x1E8CDC}};
    for (const Mode &mode : modes) {
        uint32_t corner = 0x12345678;
        probe = [&](WPARAM) { corner = pixelAt(window, 197, 117); };
        PostMessageA(probeWindow(), WM_APP, 0, 0);
        // Effect 21 uncovers only the top-left twentieth before its first pause.
        EXPECT_EQ(KYDLL(kyWindowBmpEffect)(window, 21, mode.blank), 1);
        EXPECT_EQ(corner, mode.colour) << "blank mode " << mode.blank << " at the first pause";
        EXPECT_EQ(shows(window), before) << "blank mode " << mode.blank << ": the window ends showing its snapshot";
    }
}

TEST(SnapshotEffects, DesktopAndFramedWindowsComeBackWhole)
{
    Cleanup cleanup;
    HWND framed = kytest::createTestWindow(300, 200, 220, 160, RGB(120, 20, 160));
    kytest::pumpMessages(150);
    cleanup.windows.push_back(framed);
    const std::vector<uint32_t> before = shows(framed);
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(framed, 13, 1), 1);
    EXPECT_EQ(shows(framed), before) << "the whole window, frame and title bar included, comes back";

    // The private test screen: blanked white, then brought back with effect 21.
    uint32_t corner = 0;
    probe = [&](WPARAM) {
        HDC screen = GetDC(NULL);
        const COLORREF c = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
        ReleaseDC(NULL, screen);
        corner = c & 0xFFFFFF;
    };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    EXPECT_EQ(KYDLL(kyDesktopBmpEffect)(21, 2), 1);
    EXPECT_EQ(corner, 0xFFFFFFu) << "the screen's far corner is white at the first pause";
    EXPECT_EQ(shows(framed), before) << "windows on the screen show their picture again";
}

TEST(EffectArea, ThePartOfTheWindowOnTheScreen)
{
    const RECT screen = {0, 0, 1024, 768};
    const struct {
        const char *what;
        RECT outer, screen;
        bool any;
        EffectArea area;
    } cases[] = {
        {"inside the screen", {100, 100, 300, 200}, screen, true, {0, 0, 200, 100}},
        {"maximized: 8 pixels beyond every edge", {-8, -8, 1032, 776}, screen, true, {8, 8, 1024, 768}},
        {"partly off the left edge", {-50, 10, 150, 110}, screen, true, {50, 0, 150, 100}},
        {"partly off the bottom-right corner", {900, 700, 1100, 800}, screen, true, {0, 0, 124, 68}},
        {"far larger than the screen", {-5000, -4000, 5000, 6000}, screen, true, {5000, 4000, 1024, 768}},
        {"a second monitor left of the first", {-1300, -10, -1200, 90}, {-1280, 0, 1024, 768}, true, {20, 10, 80, 90}},
        {"wholly off the screen", {2000, 0, 2100, 100}, screen, false, {}},
        {"touching the right edge from outside", {1024, 0, 1100, 100}, screen, false, {}},
        {"no width", {10, 10, 10, 50}, screen, false, {}},
        {"no screen given: nothing is cut", {-20, -10, 80, 40}, {0, 0, 0, 0}, true, {0, 0, 100, 50}},
    };
    for (const auto &c : cases) {
        EffectArea area = {-1, -1, -1, -1};
        EXPECT_EQ(visiblePart(c.outer, c.screen, &area), c.any) << c.what;
        if (!c.any)
            continue;
        EXPECT_EQ(area.x, c.area.x) << c.what;
        EXPECT_EQ(area.y, c.area.y) << c.what;
        EXPECT_EQ(area.width, c.area.width) << c.what;
        EXPECT_EQ(area.height, c.area.height) << c.what;
    }
}

// A window reaching beyond every edge of the screen, as a maximized one does: the whole
// screen must take part in the effect, up to its right and bottom edges.
TEST(SnapshotEffects, WindowBeyondTheScreenEdgesIsAnimatedOverTheWholeScreen)
{
    Cleanup cleanup;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int spill = 24;
    HWND window = paintedWindow(-spill, -spill, screenWidth + 2 * spill, screenHeight + 2 * spill, RGB(30, 140, 220));
    cleanup.windows.push_back(window);
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.left != -spill || outer.right != screenWidth + spill || outer.bottom != screenHeight + spill)
        GTEST_SKIP() << "this display put the window at (" << outer.left << ", " << outer.top << ")-(" << outer.right
                     << ", " << outer.bottom << "), not beyond every screen edge";
    // Screen pixels read through the window's own context (the screen's copy may lag
    // behind the window's surface under Wine).
    auto screenPixel = [&](int x, int y) { return pixelAt(window, x + spill, y + spill); };
    const POINT corners[] = {{1, 1}, {screenWidth - 2, 1}, {1, screenHeight - 2}, {screenWidth - 2, screenHeight - 2}};
    for (const POINT &p : corners)
        ASSERT_EQ(screenPixel(p.x, p.y), 0x1E8CDCu) << "the window covers screen pixel " << p.x << ", " << p.y;
    std::vector<uint32_t> atFirstPause;
    probe = [&](WPARAM) {
        for (const POINT &p : corners)
            atFirstPause.push_back(screenPixel(p.x, p.y));
    };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    // Effect 21 uncovers only the top-left twentieth before its first pause: the other
    // three corners must still be blank then.
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(window, 21, 2), 1);
    ASSERT_EQ(atFirstPause.size(), 4u) << "the probe ran at the first pause";
    EXPECT_EQ(atFirstPause[1], 0xFFFFFFu) << "the screen's top-right corner was blanked";
    EXPECT_EQ(atFirstPause[2], 0xFFFFFFu) << "the screen's bottom-left corner was blanked";
    EXPECT_EQ(atFirstPause[3], 0xFFFFFFu) << "the screen's bottom-right corner was blanked, not left unanimated";
    for (const POINT &p : corners)
        EXPECT_EQ(screenPixel(p.x, p.y), 0x1E8CDCu) << "screen pixel " << p.x << ", " << p.y << " shows the snapshot again";
}

TEST(SnapshotEffects, EffectNumbersAreClampedThroughTheExport)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 200, 120, RGB(200, 60, 20));
    cleanup.windows.push_back(window);
    const uint32_t fill = 0xC83C14;
    // At the first pause, effect 0 shows column 20 only; effect 21 shows the top-left corner only.
    for (int effect : {-5, 22, 1000}) {
        uint32_t column20 = 0, column10 = 0, corner = 0;
        probe = [&](WPARAM) {
            column20 = pixelAt(window, 20, 57);
            column10 = pixelAt(window, 10, 57);
            corner = pixelAt(window, 1, 1);
        };
        PostMessageA(probeWindow(), WM_APP, 0, 0);
        EXPECT_EQ(KYDLL(kyWindowBmpEffect)(window, effect, 1), 1);
        if (effect < 0) {
            EXPECT_EQ(column20, fill) << "effect -5 (as 0) has drawn column 20";
            EXPECT_EQ(column10, 0u) << "effect -5 (as 0) has not drawn column 10";
        } else {
            EXPECT_EQ(corner, fill) << "effect " << effect << " (as 21) has uncovered the corner";
            EXPECT_EQ(column20, 0u) << "effect " << effect << " (as 21) has not reached column 20";
        }
    }
}

TEST(SnapshotEffects, NestedSnapshotCallsReturnAtOnceOthersRun)
{
    Cleanup cleanup;
    HWND outer = paintedWindow(20, 20, 160, 100, RGB(0, 160, 0));
    HWND other = paintedWindow(220, 20, 120, 80, RGB(160, 0, 0));
    HWND source = paintedWindow(360, 20, 120, 80, RGB(0, 0, 160));
    HWND small = paintedWindow(20, 200, 60, 50, RGB(90, 90, 90));
    HWND thin = paintedWindow(120, 200, 24, 20, RGB(90, 90, 90));
    cleanup.windows = {outer, other, source, small, thin};
    const std::vector<uint32_t> outerBefore = shows(outer), otherBefore = shows(other);
    bool refusedAtOnce = false, secondRefusedAtOnce = false;
    int nestedResults = 0;
    probe = [&](WPARAM which) {
        if (which != 0)
            return;  // the marker posted below
        // A refused call pauses nowhere, so the marker stays queued until it returns.
        const int before = probesRun;
        PostMessageA(probeWindow(), WM_APP, 1, 0);
        nestedResults += KYDLL(kyWindowBmpEffect)(other, 0, 1);
        refusedAtOnce = probesRun == before && shows(other) == otherBefore;
        nestedResults += KYDLL(kyDesktopBmpEffect)(0, 1);
        secondRefusedAtOnce = probesRun == before;
        // These have no shared flag and run in full inside the outer pause.
        nestedResults += KYDLL(kyWindowBmpEffect2)(other, source, 2);
        nestedResults += KYDLL(kyWindowErase)(small);
        nestedResults += KYDLL(kyWindowD1)(thin);
    };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(outer, 9, 1), 1);
    EXPECT_EQ(nestedResults, 5) << "every nested export returns 1";
    EXPECT_TRUE(refusedAtOnce) << "a nested kyWindowBmpEffect returns without pausing or drawing";
    EXPECT_TRUE(secondRefusedAtOnce) << "a nested kyDesktopBmpEffect returns without pausing";
    EXPECT_EQ(shows(outer), outerBefore) << "the outer effect went on to its end";
    EXPECT_EQ(pixelAt(other, 60, 40), 0x0000A0u) << "the nested window-to-window effect ran";
    EXPECT_GT(whiteShare(shows(small)), 0.9) << "the nested erase ran";
    EXPECT_EQ(whiteShare(shows(thin)), 1.0) << "the nested sweep ran";

    // The flag is clear again: the next call runs (it blanks before its first pause).
    uint32_t corner = 0;
    probe = [&](WPARAM) { corner = pixelAt(other, 117, 77); };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(other, 21, 1), 1);
    EXPECT_EQ(corner, 0u) << "a call after the outer one ends runs normally";
}

TEST(SnapshotEffects, WindowToWindowLeavesTheTargetShowingTheSource)
{
    Cleanup cleanup;
    HWND target = paintedWindow(40, 40, 150, 100, RGB(250, 250, 0));
    HWND source = paintedWindow(240, 40, 150, 100, RGB(0, 120, 120));
    cleanup.windows = {target, source};
    for (int effect : {3, 11, 19}) {
        InvalidateRect(target, NULL, TRUE);
        kytest::pumpMessages(50);
        EXPECT_EQ(pixelAt(target, 75, 50), 0xFAFA00u);
        EXPECT_EQ(KYDLL(kyWindowBmpEffect2)(target, source, effect), 1);
        EXPECT_EQ(shows(target), shows(source)) << "effect " << effect << ": the target shows the source";
    }
}

TEST(WhiteEffects, EraseLeavesAboutNinetyEightPercentWhite)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 100, 100, RGB(0, 0, 0));
    HWND tiny = paintedWindow(200, 40, 9, 9, RGB(0, 0, 0));
    cleanup.windows = {window, tiny};
    EXPECT_EQ(eraseDotCount(100, 100), 201) << "each pass of a 100 x 100 erase sets 400 pixels";
    EXPECT_EQ(eraseDotCount(9, 9), 1) << "W * H < 100 sets no pixel";
    EXPECT_EQ(KYDLL(kyWindowErase)(window), 1);
    const double share = whiteShare(shows(window));
    EXPECT_GT(share, 0.96) << "four window-fulls of random pixels leave about 98% white";
    EXPECT_LT(share, 0.995) << "a light scatter of the old picture remains";

    // 100 pauses of more than one tick each, and nothing drawn.
    const DWORD start = GetTickCount();
    EXPECT_EQ(KYDLL(kyWindowErase)(tiny), 1);
    EXPECT_GE(GetTickCount() - start, 100u) << "a 9 x 9 erase still makes its 100 pauses";
    EXPECT_EQ(whiteShare(shows(tiny)), 0.0);
}

TEST(WhiteEffects, SweepLeavesTheWholeWindowWhite)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 40, 30, RGB(10, 200, 10));
    cleanup.windows = {window};
    int column = -1;
    probe = [&](WPARAM) {
        // At the first pause only column 0 is white.
        column = pixelAt(window, 0, 15) == 0xFFFFFF && pixelAt(window, 1, 15) == 0x0AC80A;
    };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(KYDLL(kyWindowD1)(window), 1);
    EXPECT_GE(GetTickCount() - start, 41u * 10) << "41 lines, each followed by a pause of more than 10 ms";
    EXPECT_EQ(column, 1) << "the sweep goes one column per pause from the left";
    EXPECT_EQ(whiteShare(shows(window)), 1.0);
}

TEST(EffectExports, HandlesThatAreNotWindowsOrHaveNoAreaDrawNothing)
{
    Cleanup cleanup;
    HWND empty = kytest::createTestWindow(40, 40, 0, 0, RGB(0, 0, 0), WS_POPUP | WS_VISIBLE);
    HWND live = paintedWindow(100, 40, 50, 50, RGB(20, 20, 200));
    cleanup.windows = {empty, live};
    RECT outer;
    GetWindowRect(empty, &outer);
    ASSERT_EQ(outer.right - outer.left, 0) << "a popup window may be 0 wide";
    HWND bogus = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7654321));
    ASSERT_FALSE(IsWindow(bogus));
    const DWORD start = GetTickCount();
    for (HWND window : {bogus, empty, HWND(NULL)}) {
        EXPECT_EQ(KYDLL(kyWindowBmpEffect)(window, 9, 1), 1);
        EXPECT_EQ(KYDLL(kyWindowErase)(window), 1);
        EXPECT_EQ(KYDLL(kyWindowD1)(window), 1);
        EXPECT_EQ(KYDLL(kyWindowBmpEffect2)(window, live, 9), 1);
        EXPECT_EQ(KYDLL(kyWindowBmpEffect2)(live, window, 9), 1);
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << "nothing to draw, so no effect plays";
    EXPECT_EQ(pixelAt(live, 25, 25), 0x1414C8u) << "a bad source leaves the target alone";
    uint32_t corner = 0;
    probe = [&](WPARAM) { corner = pixelAt(live, 47, 47); };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(live, 21, 2), 1);
    EXPECT_EQ(corner, 0xFFFFFFu) << "the busy flag was cleared after the refused calls";
}

TEST(EffectPause, ZeroDispatchesNothingAndOtherPausesDispatchEverything)
{
    probe = nullptr;
    const int before = probesRun;
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    effectPause(0);
    EXPECT_EQ(probesRun, before) << "effectPause(0) leaves the queue alone";
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    const DWORD start = GetTickCount();
    effectPause(30);
    EXPECT_GT(GetTickCount() - start, 30u) << "the pause lasts until the tick count moved by more than 30";
    EXPECT_EQ(probesRun, before + 2) << "both waiting messages were dispatched";
}

TEST(EffectPause, QuitMessageTakenDuringAnEffectStillEndsTheCallersLoop)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 80, 60, RGB(100, 50, 0));
    cleanup.windows = {window};
    probe = [](WPARAM) { PostQuitMessage(7); };
    PostMessageA(probeWindow(), WM_APP, 0, 0);
    EXPECT_EQ(KYDLL(kyWindowBmpEffect)(window, 2, 1), 1);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is queued again";
    EXPECT_EQ(msg.wParam, 7u) << "with its exit code";

    PostQuitMessage(5);
    effectPause(5);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}


TEST(EffectResources, NoGdiObjectLeaksPerCall)
{
    Cleanup cleanup;
    HWND window = paintedWindow(40, 40, 40, 30, RGB(10, 10, 10));
    cleanup.windows = {window};
    fx::Surface source = fx::makeSurface(40, 30), target = fx::makeSurface(40, 30);
    // Warm up caches the system keeps (window DCs, stock objects) before counting.
    KYDLL(kyWindowBmpEffect)(window, 10, 1);
    runBmpEffect(source.dc, 0, 0, target.dc, 0, 0, 40, 30, 0, 20, 10);
    const long before = kytest::gdiObjectsInUse();
    for (int i = 0; i < 30; ++i) {
        for (int effect = 0; effect < effectCount; ++effect)
            runBmpEffect(source.dc, 0, 0, target.dc, 0, 0, 40, 30, 0, 20, effect);
        KYDLL(kyWindowBmpEffect)(window, 11, 1);
        KYDLL(kyWindowBmpEffect2)(window, window, 12);
        KYDLL(kyWindowD1)(window);
    }
    const long after = kytest::gdiObjectsInUse();
    EXPECT_LE(after - before, 5) << "30 rounds of every effect leave no objects behind (a leak per call would "
                                    "show 30 or more)";
    fx::freeSurface(target);
    fx::freeSurface(source);
}

}  // namespace
