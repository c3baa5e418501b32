// The screen-wide exports on a display with two monitors side by side: the primary,
// 1024 x 768 at (0, 0), and a second one, 800 x 600 at (1024, 0) (testenv.sh
// two-monitors). What each export drew is read back from the screen.
#include "kytest.h"

#include <vector>

#include "effects/effects.h"

namespace {

struct Monitor {
    RECT rect, work;
    bool primary;
    char device[CCHDEVICENAME];
};

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFOEXA info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        Monitor m = {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0, {}};
        lstrcpynA(m.device, info.szDevice, sizeof m.device);
        reinterpret_cast<std::vector<Monitor> *>(list)->push_back(m);
    }
    return TRUE;
}

std::vector<Monitor> monitors()
{
    std::vector<Monitor> list;
    EnumDisplayMonitors(NULL, NULL, addMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

bool sameRect(const RECT &r, LONG left, LONG top, LONG right, LONG bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

// True on the test display with two monitors side by side; elsewhere the cases skip.
bool sideBySide()
{
    std::vector<Monitor> list = monitors();
    return list.size() == 2 && sameRect(list[0].rect, 0, 0, 1024, 768) && sameRect(list[1].rect, 1024, 0, 1824, 600);
}

#define REQUIRE_TWO_MONITORS()                                                                                   \
    if (!sideBySide())                                                                                           \
    GTEST_SKIP() << "needs the display with two monitors side by side (testenv.sh two-monitors); this one has " \
                 << monitors().size()

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return colour;
}

const COLORREF white = RGB(255, 255, 255);

TEST(TwoMonitors, TheDisplayShowsBothMonitorsToWine)
{
    REQUIRE_TWO_MONITORS();
    std::vector<Monitor> list = monitors();
    EXPECT_TRUE(list[0].primary);
    EXPECT_FALSE(list[1].primary);
    EXPECT_STREQ(list[0].device, "\\\\.\\DISPLAY1");
    EXPECT_STREQ(list[1].device, "\\\\.\\DISPLAY2");
    EXPECT_TRUE(sameRect(list[0].work, 0, 0, 1024, 768)) << "no task bar takes room on the test display";
    EXPECT_TRUE(sameRect(list[1].work, 1024, 0, 1824, 600));
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1824);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), 768);
}

// The desktop effect keeps to the primary monitor: at its first pause, blanked black
// there, while a window on the second monitor still shows its own colour.
std::vector<COLORREF> firstPauseSamples;
void sampleAtFirstPause(unsigned int)
{
    if (firstPauseSamples.empty())
        firstPauseSamples = {screenPixel(800, 600), screenPixel(1500, 400)};
}

TEST(TwoMonitors, DesktopEffectPlaysOnThePrimaryMonitorOnly)
{
    REQUIRE_TWO_MONITORS();
    HWND onPrimary = kytest::createTestWindow(700, 500, 200, 200, RGB(0, 0, 255), WS_POPUP | WS_VISIBLE);
    HWND onSecond = kytest::createTestWindow(1400, 300, 200, 200, RGB(255, 0, 0), WS_POPUP | WS_VISIBLE);
    kytest::pumpMessages(200);
    ASSERT_EQ(screenPixel(800, 600), RGB(0, 0, 255));
    ASSERT_EQ(screenPixel(1500, 400), RGB(255, 0, 0)) << "the screen can be read on the second monitor";

    firstPauseSamples.clear();
    effectPauseHook = sampleAtFirstPause;
    kyDesktopBmpEffect(21, 1);  // grows from the top-left corner; the bottom right stays black longest
    effectPauseHook = nullptr;
    ASSERT_EQ(firstPauseSamples.size(), 2u) << "the effect paused";
    EXPECT_EQ(firstPauseSamples[0], RGB(0, 0, 0)) << "the primary monitor is blanked";
    EXPECT_EQ(firstPauseSamples[1], RGB(255, 0, 0)) << "the second monitor is left as it is";
    EXPECT_EQ(screenPixel(800, 600), RGB(0, 0, 255)) << "the snapshot is back on the primary monitor";
    DestroyWindow(onPrimary);
    DestroyWindow(onSecond);
}

// A window effect plays over the window wherever it is: on the second monitor, and over
// both parts of a window that lies across the two.
TEST(TwoMonitors, WindowSweepCoversTheWindowOnEveryMonitorItIsOn)
{
    REQUIRE_TWO_MONITORS();
    struct Case {
        const char *where;
        RECT window;
        POINT samples[2];
    };
    const Case cases[] = {
        {"on the second monitor", {1300, 100, 1420, 220}, {{1310, 110}, {1410, 210}}},
        {"across both monitors", {960, 300, 1090, 400}, {{970, 350}, {1080, 350}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.where);
        HWND window = kytest::createTestWindow(c.window.left, c.window.top, c.window.right - c.window.left,
                                               c.window.bottom - c.window.top, RGB(0, 128, 0), WS_POPUP | WS_VISIBLE);
        kytest::pumpMessages(200);
        for (const POINT &p : c.samples)
            ASSERT_EQ(screenPixel(p.x, p.y), RGB(0, 128, 0)) << "the window shows at " << p.x << ", " << p.y;
        EXPECT_EQ(KYDLL(kyWindowD1)(window), 1);
        for (const POINT &p : c.samples)
            EXPECT_EQ(screenPixel(p.x, p.y), white) << "swept white at " << p.x << ", " << p.y;
        DestroyWindow(window);
    }
}

// The current mode is the primary monitor's, not the whole desktop's nor the second's.
TEST(TwoMonitors, CurrentVideoModeIsThePrimaryMonitors)
{
    REQUIRE_TWO_MONITORS();
    int bits = 0, width = 0, height = 0, refresh = 0;
    ASSERT_EQ(KYDLL(kyGetCurrentVideoMode)(&bits, &width, &height, &refresh), 1);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(bits, 32);
}

// Full screen asks for the primary monitor's mode; this display (monitors read through
// Xinerama) changes no mode at all, and neither monitor moves.
TEST(TwoMonitors, FullScreenLeavesTheSecondMonitorAsItIs)
{
    REQUIRE_TWO_MONITORS();
    EXPECT_NE(KYDLL(kyFullScreen)(), 0) << "this display refuses mode changes";
    KYDLL(kyCancelFullScreen)();
    ShowCursor(FALSE);  // the cancel raised the cursor count; put it back
    EXPECT_TRUE(sideBySide()) << "both monitors are where they were";
}

}  // namespace
