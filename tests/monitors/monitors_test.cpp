// The screen-wide exports on the display with two monitors side by side: the primary,
// 1024 x 768 at (0, 0), and a second one, 800 x 600 at (1024, 0). What each export drew
// is read back from the screen.
#include "kytest.h"

#include <vector>

#include "effects/effects.h"

namespace {

#define REQUIRE_TWO_MONITORS()               \
    if (!kytest::onTwoMonitorDisplay())      \
    GTEST_SKIP() << "needs the display with two monitors side by side (testenv.sh two-monitors)"

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return colour;
}

// The desktop effect keeps to the primary monitor: at its first pause that is blanked
// black, while a window on the second monitor still shows its own colour.
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
    } cases[] = {
        {"on the second monitor", {1300, 100, 1420, 220}, {{1310, 110}, {1410, 210}}},
        {"across both monitors", {960, 300, 1090, 400}, {{970, 350}, {1080, 350}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.where);
        const RECT &r = c.window;
        HWND window = kytest::createTestWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, RGB(0, 128, 0),
                                               WS_POPUP | WS_VISIBLE);
        kytest::pumpMessages(200);
        EXPECT_EQ(KYDLL(kyWindowD1)(window), 1);
        for (const POINT &p : c.samples)
            EXPECT_EQ(screenPixel(p.x, p.y), RGB(255, 255, 255)) << "swept white at " << p.x << ", " << p.y;
        DestroyWindow(window);
    }
}

// The mode read is the primary monitor's, and full screen (this display changes no mode)
// leaves the second monitor where it was.
TEST(TwoMonitors, VideoModeExportsAreAboutThePrimaryMonitor)
{
    REQUIRE_TWO_MONITORS();
    int bits = 0, width = 0, height = 0, refresh = 0;
    ASSERT_EQ(KYDLL(kyGetCurrentVideoMode)(&bits, &width, &height, &refresh), 1);
    EXPECT_EQ(width, 1024) << "not the whole desktop's 1824";
    EXPECT_EQ(height, 768);
    EXPECT_NE(KYDLL(kyFullScreen)(), 0) << "the monitors are read through Xinerama, which changes no mode";
    KYDLL(kyCancelFullScreen)();
    ShowCursor(FALSE);  // the cancel raised the cursor count
    EXPECT_TRUE(kytest::onTwoMonitorDisplay()) << "both monitors are where they were";
}

}  // namespace
