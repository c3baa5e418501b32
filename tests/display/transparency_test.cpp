// Layered transparency and flashing: what the system reports back after each export,
// and the fallbacks when the optional functions are missing.
#include "kytest.h"

#include "display/appearance.h"

namespace {

struct Layered {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
};

Layered readLayered(HWND window)
{
    Layered got;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, &got.key, &got.alpha, &got.flags)) << "window is layered";
    return got;
}

bool isLayered(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

TEST(WindowTransparency, AlphaIsFlooredAt220AndCappedAt255)
{
    HWND window = kytest::createTestWindow(60, 60, 200, 150, RGB(40, 90, 160));
    ASSERT_NE(window, nullptr);
    const struct {
        int asked;
        BYTE applied;
    } cases[] = {{0, 220},   {100, 220}, {219, 220}, {-5, 220},  {220, 220},
                 {255, 255}, {256, 255}, {300, 255}, {511, 255}, {0x10000, 255}};
    for (const auto &c : cases) {
        EXPECT_EQ(KYDLL(kySetWTransparent)(window, c.asked), 1);
        EXPECT_TRUE(isLayered(window)) << "alpha " << c.asked;
        Layered got = readLayered(window);
        EXPECT_EQ(got.alpha, c.applied) << "alpha asked " << c.asked;
        EXPECT_EQ(got.key, COLORREF(0xFFFFFF)) << "white is the see-through colour";
        EXPECT_EQ(got.flags, DWORD(LWA_COLORKEY | LWA_ALPHA));
        EXPECT_EQ(layeredAlpha(c.asked), c.applied) << "the pure rule agrees";
    }
    EXPECT_EQ(layeredAlpha(INT_MIN), 220);
    EXPECT_EQ(layeredAlpha(INT_MAX), 255) << "a huge alpha is opaque, not its low byte";

    EXPECT_EQ(KYDLL(kyRemoveWindowTrans)(window), 1);
    EXPECT_FALSE(isLayered(window)) << "the layered style is cleared";
    DestroyWindow(window);
}

COLORREF screenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return colour;
}

bool screenShows(int x, int y, COLORREF colour)
{
    return kytest::waitUntil([=] { return screenPixel(x, y) == colour; }, 3000);
}

TEST(WindowTransparency, WhitePixelsBecomeSeeThroughUntilRemoved)
{
    const COLORREF red = RGB(255, 0, 0), white = RGB(255, 255, 255);
    HWND back = kytest::createTestWindow(0, 0, 500, 400, red, WS_POPUP | WS_VISIBLE);
    HWND front = kytest::createTestWindow(100, 100, 300, 200, white, WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(back && front);
    CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT, 20, 20, 100, 100, front, NULL,
                  GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(screenShows(300, 250, white)) << "the white window is on top";
    COLORREF frame = screenPixel(160, 160);
    ASSERT_NE(frame, white);

    KYDLL(kySetWTransparent)(front, 255);
    EXPECT_TRUE(screenShows(300, 250, red)) << "white lets the window behind show through";
    EXPECT_EQ(screenPixel(160, 160), frame) << "other colours stay";
    // Blending with alpha below 255 needs a compositing window manager, which the test
    // display lacks; the alpha itself is read back from the system above.

    KYDLL(kyRemoveWindowTrans)(front);
    EXPECT_TRUE(screenShows(300, 250, white)) << "repainted opaque";
    DestroyWindow(front);
    DestroyWindow(back);
}

TEST(WindowTransparency, RemovingFromANeverLayeredWindowKeepsItsStyle)
{
    HWND window = kytest::createTestWindow(80, 80, 160, 120, RGB(0, 128, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                           WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES);
    ASSERT_NE(window, nullptr);
    LONG before = GetWindowLongA(window, GWL_EXSTYLE);
    EXPECT_EQ(KYDLL(kyRemoveWindowTrans)(window), 1);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), before);
    DestroyWindow(window);
}

TEST(WindowTransparency, InvalidWindowsReachTheSystemAndTheResultsStand)
{
    HWND bogus = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654321));
    EXPECT_EQ(KYDLL(kySetWTransparent)(NULL, 100), 1);
    EXPECT_EQ(KYDLL(kySetWTransparent)(bogus, 300), 1);
    EXPECT_EQ(KYDLL(kyRemoveWindowTrans)(NULL), 1);
    EXPECT_EQ(KYDLL(kyRemoveWindowTrans)(bogus), 1);
    EXPECT_EQ(KYDLL(kyFlashWindow)(NULL, 5), 0);
    EXPECT_EQ(KYDLL(kyFlashWindow)(bogus, 5), 0);
}

TEST(WindowFlashing, RequestIsCaptionAndButtonTimedAtTheBlinkRate)
{
    FLASHWINFO request;
    memset(&request, 0xCC, sizeof request);
    HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    buildFlashRequest(&request, window, 5);
    EXPECT_EQ(request.cbSize, UINT(sizeof(FLASHWINFO)));
    EXPECT_EQ(request.hwnd, window);
    EXPECT_EQ(request.dwFlags, DWORD(7)) << "FLASHW_ALL | FLASHW_TIMER";
    EXPECT_EQ(request.uCount, UINT(5));
    EXPECT_EQ(request.dwTimeout, DWORD(0));
}

TEST(WindowFlashing, ResultIsTheSystemsOwn)
{
    HWND window = kytest::createTestWindow(100, 100, 200, 100, RGB(200, 200, 200));
    ASSERT_NE(window, nullptr);
    FLASHWINFO stop = {sizeof stop, window, FLASHW_STOP, 0, 0};
    FLASHWINFO request;
    buildFlashRequest(&request, window, 5);
    BOOL direct = FlashWindowEx(&request);
    FlashWindowEx(&stop);
    EXPECT_EQ(KYDLL(kyFlashWindow)(window, 5), direct);
    FlashWindowEx(&stop);
    DestroyWindow(window);
}

// A system library the test program hasn't loaded, so its release can be seen.
const char *unloadedModuleWithout(const char *name)
{
    for (const char *candidate : {"mpr", "msacm32", "dciman32", "version", "sensapi"}) {
        if (!GetModuleHandleA(candidate)) {
            HMODULE probe = LoadLibraryA(candidate);
            bool lacks = probe && !GetProcAddress(probe, name);
            if (probe)
                FreeLibrary(probe);
            if (lacks && !GetModuleHandleA(candidate))
                return candidate;
        }
    }
    return nullptr;
}

TEST(AppearanceFallbacks, MissingFunctionsChangeNothingAndTheModuleIsReleased)
{
    const char *module = unloadedModuleWithout("SetLayeredWindowAttributes");
    if (!module)
        GTEST_SKIP() << "every candidate system library is already loaded by this program";
    HWND window = kytest::createTestWindow(120, 120, 160, 100, RGB(90, 0, 0));
    ASSERT_NE(window, nullptr);
    LONG before = GetWindowLongA(window, GWL_EXSTYLE);
    AppearanceLookup saved = appearanceLookup;
    for (const char *where : {module, "kyNoSuchModule"}) {
        appearanceLookup.module = where;
        EXPECT_EQ(kySetWTransparent(window, 100), 1) << where;
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), before) << "not even the style changes, " << where;
        EXPECT_EQ(kyFlashWindow(window, 3), 0) << where;
    }
    appearanceLookup = saved;
    EXPECT_EQ(GetModuleHandleA(module), nullptr) << module << " is released after every call";
    DestroyWindow(window);
}

}  // namespace
