// The whole show through kyLogo: a driver thread finds the show's window, looks at it,
// presses its keys and closes it while the test's thread is inside the call.
#include "kytest.h"

#include <atomic>
#include <functional>
#include <thread>

#include "display/displaymode.h"
#include "frame/dibheader.h"
#include "frame/lazycalls.h"
#include "logo/logo.h"
#include "logo/scene.h"
#include "logo_gl.h"

namespace {

// Unmapping a visible window takes Wine about 2 s on a display without a window manager
// (it waits for the withdrawn state), so "closed" allows for that.
const DWORD closeLimitMs = 6000;

const char showTitle[] = "KY Computer Software - KY DORU WIN32 Library (F1-full screen)";

// The show's visible window other than `previous`, or null after `limitMs`.
HWND waitForShowWindow(HWND previous, DWORD limitMs)
{
    DWORD start = GetTickCount();
    do {
        HWND found = NULL;
        while ((found = FindWindowExA(NULL, found, "OpenGL", NULL)) != NULL)
            if (found != previous && IsWindowVisible(found))
                return found;
        Sleep(10);
    } while (GetTickCount() - start < limitMs);
    return NULL;
}

bool waitForWindowGone(HWND window, DWORD limitMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= limitMs)
            return false;
        Sleep(10);
    }
    return true;
}

void pressKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
}

// Runs `show` on this thread while `script` drives it from another. Whatever the script
// managed, a show still running 3 s after it finished is closed, so no case can hang
// (the script's own findings then tell what went wrong).
int driveShow(const std::function<int()> &show, const std::function<void()> &script, DWORD *elapsedMs = nullptr)
{
    std::atomic<bool> returned{false};
    std::thread driver([&] {
        script();
        DWORD start = GetTickCount();
        while (!returned && GetTickCount() - start < 30000) {
            if (GetTickCount() - start > 3000)
                if (HWND left = FindWindowA("OpenGL", NULL))
                    PostMessageA(left, WM_CLOSE, 0, 0);
            Sleep(50);
        }
    });
    DWORD start = GetTickCount();
    int result = show();
    if (elapsedMs)
        *elapsedMs = GetTickCount() - start;
    returned = true;
    driver.join();
    return result;
}

int dllLogo() { return KYDLL(kyLogo)(); }

// What the screen shows of a window's client area, read back through GDI.
struct ClientSample {
    bool read = false;
    int width = 0, height = 0;
    int lit = 0;           // pixels that are not (near) black
    int cornersLit = 0;    // of the four 8 x 8 corner patches
    unsigned long checksum = 0;
};

ClientSample sampleClient(HWND window)
{
    ClientSample sample;
    RECT client;
    POINT origin = {0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin))
        return sample;
    sample.width = client.right;
    sample.height = client.bottom;
    if (sample.width <= 0 || sample.height <= 0)
        return sample;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    buildTopDownDib32Header(&info.bmiHeader, sample.width, sample.height);
    void *bits = NULL;
    HBITMAP surface = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (surface && bits) {
        HGDIOBJ previous = SelectObject(memory, surface);
        sample.read = BitBlt(memory, 0, 0, sample.width, sample.height, screen, origin.x, origin.y, SRCCOPY) != 0;
        GdiFlush();
        const unsigned char *p = static_cast<const unsigned char *>(bits);
        for (int y = 0; y < sample.height; ++y)
            for (int x = 0; x < sample.width; ++x) {
                const unsigned char *q = p + (static_cast<size_t>(y) * sample.width + x) * 4;
                bool lit = q[0] + q[1] + q[2] > 60;
                sample.lit += lit;
                bool corner = (x < 8 || x >= sample.width - 8) && (y < 8 || y >= sample.height - 8);
                sample.cornersLit += corner && lit;
                sample.checksum = sample.checksum * 31 + q[0] + (q[1] << 8) + (q[2] << 16);
            }
        SelectObject(memory, previous);
    }
    if (surface)
        DeleteObject(surface);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return sample;
}

class LogoShow : public testing::Test {
protected:
    void SetUp() override
    {
        if (!logotest::glAvailable(&why_))
            GTEST_SKIP() << "OpenGL is not available in this run (" << why_
                         << "); the failure path is covered by WindowThatCantBeMadeEndsTheShowWithAMessage";
        here_ = new logotest::InFolder(kytest::programFolder());
        ASSERT_TRUE(here_->ok());
        kytest::startBoxWatcher();
        kytest::clearSeenBoxes();
    }
    void TearDown() override
    {
        kytest::stopBoxWatcher();
        delete here_;
    }
    std::string why_;
    logotest::InFolder *here_ = nullptr;
};

TEST_F(LogoShow, RunsInItsWindowUntilEscape)
{
    HWND shown = NULL;
    char title[256] = "";
    RECT client = {};
    ClientSample first, later;
    bool gone = false;
    int result = driveShow(dllLogo, [&] {
        shown = waitForShowWindow(NULL, 20000);
        if (!shown)
            return;
        GetWindowTextA(shown, title, sizeof title);
        GetClientRect(shown, &client);
        Sleep(700);
        first = sampleClient(shown);
        Sleep(400);
        later = sampleClient(shown);
        pressKey(shown, VK_ESCAPE);
        gone = waitForWindowGone(shown, closeLimitMs);
    });
    ASSERT_NE(shown, static_cast<HWND>(NULL)) << "the show's window never appeared";
    EXPECT_STREQ(title, showTitle);
    EXPECT_EQ(client.right, 640) << "client width";
    EXPECT_EQ(client.bottom, 480) << "client height";
    EXPECT_TRUE(gone) << "Esc closes the window";
    EXPECT_EQ(result, 0) << "kyLogo returns 0 when the show has ended";
    EXPECT_TRUE(kytest::seenBoxes().empty()) << "a show that runs says nothing";

    ASSERT_TRUE(first.read && later.read) << "the screen could not be read back";
    EXPECT_GT(first.lit, 640 * 480 / 20) << "the cube covers a good part of the window";
    EXPECT_LT(first.lit, 640 * 480 / 2) << "around the cube the background is black";
    EXPECT_EQ(first.cornersLit, 0) << "the corners show the black background";
    EXPECT_NE(first.checksum, later.checksum) << "the cube turns between two looks";
}

TEST_F(LogoShow, ClosingTheWindowEndsTheShow)
{
    HWND shown = NULL;
    bool gone = false;
    DWORD elapsed = 0;
    int result = driveShow(
        dllLogo,
        [&] {
            shown = waitForShowWindow(NULL, 20000);
            if (!shown)
                return;
            Sleep(300);
            PostMessageA(shown, WM_CLOSE, 0, 0);
            gone = waitForWindowGone(shown, closeLimitMs);
        },
        &elapsed);
    ASSERT_NE(shown, static_cast<HWND>(NULL));
    EXPECT_TRUE(gone) << "WM_CLOSE closes the window";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(FindWindowA("OpenGL", NULL), static_cast<HWND>(NULL)) << "no second window after a close";
    EXPECT_TRUE(kytest::seenBoxes().empty());
}

// The caller's own loop after the show: a message it posts must come back, not a quit.
void expectCallerLoopUnaffected()
{
    HWND mine = kytest::createTestWindow(0, 0, 50, 50, RGB(0, 0, 0));
    PostMessageA(mine, WM_APP + 7, 0, 0);
    MSG msg;
    BOOL got = GetMessageA(&msg, NULL, 0, 0);
    while (got > 0 && msg.message != WM_APP + 7) {
        DispatchMessageA(&msg);
        got = GetMessageA(&msg, NULL, 0, 0);
    }
    EXPECT_GT(got, 0) << "GetMessage found a quit message left behind by the show";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 7));
    DestroyWindow(mine);
}

TEST_F(LogoShow, MissingPictureEndsAtOnceWithoutAMessage)
{
    struct Case {
        const char *tag;
        std::initializer_list<const char *> present;
        int oleAut32Withheld;  // no picture decoder: the test's own copy of the library
    };
    const Case cases[] = {{"nofront", {"kydoru.jpg"}, 0},
                          {"noside", {"ky.jpg"}, 0},
                          {"none", {}, 0},
                          {"nodecoder", {"ky.jpg", "kydoru.jpg"}, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        logotest::InFolder there(logotest::pictureFolder(c.tag, c.present));
        ASSERT_TRUE(there.ok());
        DWORD elapsed = 0;
        HWND seen = NULL;
        withholdLazyLibrary(lazyOleAut32, c.oleAut32Withheld);
        int result = driveShow(c.oleAut32Withheld ? kyLogo : dllLogo, [&] { seen = waitForShowWindow(NULL, 300); },
                               &elapsed);
        withholdLazyLibrary(lazyOleAut32, 0);
        EXPECT_EQ(result, 0);
        EXPECT_LT(elapsed, DWORD(3000)) << "the show ends at once";
        EXPECT_EQ(FindWindowA("OpenGL", NULL), static_cast<HWND>(NULL)) << "its window is gone";
        EXPECT_TRUE(kytest::seenBoxes().empty()) << "a missing picture shows no message";
        expectCallerLoopUnaffected();
    }
}

// Whether the display would take the show's full-screen mode.
bool fullScreenModeAccepted(LONG *code)
{
    DEVMODEA mode;
    buildDisplayMode(&mode, 32, 640, 480, 0);
    *code = ChangeDisplaySettingsA(&mode, CDS_TEST);
    return *code == DISP_CHANGE_SUCCESSFUL;
}

TEST_F(LogoShow, F1WhenTheDisplayRefusesTheModeStaysWindowed)
{
    LONG code = 0;
    if (fullScreenModeAccepted(&code))
        GTEST_SKIP() << "this display accepts 640 x 480 x 32, so the refusal can't be shown here";
    HWND first = NULL, second = NULL;
    RECT outer = {};
    LONG style = 0;
    bool gone = false;
    int result = driveShow(dllLogo, [&] {
        first = waitForShowWindow(NULL, 20000);
        if (!first)
            return;
        Sleep(200);
        pressKey(first, VK_F1);
        second = waitForShowWindow(first, 20000);
        if (!second)
            return;
        GetWindowRect(second, &outer);
        style = GetWindowLongA(second, GWL_STYLE);
        Sleep(200);
        pressKey(second, VK_ESCAPE);
        gone = waitForWindowGone(second, closeLimitMs);
    });
    ASSERT_NE(first, static_cast<HWND>(NULL));
    ASSERT_NE(second, static_cast<HWND>(NULL)) << "F1 opens a new window";
    std::vector<kytest::SeenBox> boxes = kytest::seenBoxes();
    ASSERT_EQ(boxes.size(), size_t(1)) << "one message about the refused mode (display answered " << code << ")";
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Mode Switch Failed.\nRunning In Windowed Mode.");
    EXPECT_EQ(outer.right - outer.left, 640) << "the whole window, frame included, is 640 wide";
    EXPECT_EQ(outer.bottom - outer.top, 480);
    EXPECT_TRUE(style & WS_CAPTION) << "a framed window, not the full-screen popup";
    EXPECT_TRUE(gone);
    EXPECT_EQ(result, 0);
}

int currentWidth()
{
    HDC screen = GetDC(NULL);
    int width = GetDeviceCaps(screen, HORZRES);
    ReleaseDC(NULL, screen);
    return width;
}

// A display that takes any mode without changing: the mode requests it was given.
struct ModeRequest {
    bool restore;  // a null record: back to the registry's mode
    DWORD width, height, bits, fields, flags;
};
std::vector<ModeRequest> modeRequests;

LONG WINAPI acceptingDisplay(DEVMODEA *mode, DWORD flags)
{
    if (mode)
        modeRequests.push_back({false, mode->dmPelsWidth, mode->dmPelsHeight, mode->dmBitsPerPel, mode->dmFields, flags});
    else
        modeRequests.push_back({true, 0, 0, 0, 0, flags});
    return DISP_CHANGE_SUCCESSFUL;
}

TEST_F(LogoShow, F1SwitchesToFullScreenAndBack)
{
    // Where the display refuses the mode (the private X server does), the library's own
    // copy runs against a display that accepts it, and the requests are what is seen.
    LONG code = 0;
    bool realDisplay = fullScreenModeAccepted(&code);
    modeRequests.clear();
    if (!realDisplay)
        logoChangeDisplaySettings = acceptingDisplay;
    int widthBefore = currentWidth();
    HWND first = NULL, full = NULL, back = NULL;
    int fullWidth = 0;
    LONG fullStyle = 0, fullExStyle = 0;
    RECT fullRect = {};
    int result = driveShow(realDisplay ? std::function<int()>(dllLogo) : std::function<int()>(kyLogo), [&] {
        first = waitForShowWindow(NULL, 20000);
        if (!first)
            return;
        pressKey(first, VK_F1);
        full = waitForShowWindow(first, 20000);
        if (!full)
            return;
        fullWidth = currentWidth();
        fullStyle = GetWindowLongA(full, GWL_STYLE);
        fullExStyle = GetWindowLongA(full, GWL_EXSTYLE);
        GetWindowRect(full, &fullRect);
        Sleep(300);
        pressKey(full, VK_F1);
        back = waitForShowWindow(full, 20000);
        if (back)
            pressKey(back, VK_ESCAPE);
    });
    logoChangeDisplaySettings = ChangeDisplaySettingsA;
    ASSERT_TRUE(first && full && back) << "window, full screen, window again";
    if (realDisplay) {
        EXPECT_EQ(fullWidth, 640) << "the display is 640 wide in full screen";
    } else {
        ASSERT_EQ(modeRequests.size(), 2u) << "one switch, one restore";
        const ModeRequest &to = modeRequests[0];
        EXPECT_FALSE(to.restore);
        EXPECT_EQ(to.width, 640u);
        EXPECT_EQ(to.height, 480u);
        EXPECT_EQ(to.bits, 32u);
        EXPECT_EQ(to.fields, DWORD(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT));
        EXPECT_EQ(to.flags, DWORD(CDS_FULLSCREEN)) << "a temporary mode, gone when the show ends";
        EXPECT_TRUE(modeRequests[1].restore) << "leaving full screen restores the registry's mode";
        EXPECT_EQ(modeRequests[1].flags, 0u);
    }
    EXPECT_TRUE(fullStyle & WS_POPUP);
    EXPECT_TRUE(fullExStyle & WS_EX_TOPMOST);
    // With several monitors, full screen is the primary monitor's (its mode is the one
    // switched): the window covers it from its corner and reaches no other monitor.
    EXPECT_EQ(fullRect.left, 0);
    EXPECT_EQ(fullRect.top, 0);
    EXPECT_EQ(fullRect.right, 640);
    EXPECT_EQ(fullRect.bottom, 480);
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    EXPECT_EQ(MonitorFromPoint(POINT{fullRect.right - 1, fullRect.bottom - 1}, MONITOR_DEFAULTTONULL), primary);
    EXPECT_EQ(currentWidth(), widthBefore) << "the display mode is restored";
    EXPECT_TRUE(kytest::seenBoxes().empty());
    EXPECT_EQ(result, 0);
}

TEST_F(LogoShow, AnglesCarryOverToTheNextWindowAndTheNextShow)
{
    // The library's own copy of the show, whose angles this program can read.
    auto angle = [] { return *static_cast<volatile float *>(&spinX); };
    float beforeToggle = 0, secondWindow = 0, nextShow = 0;
    HWND second = NULL;
    int first = driveShow(kyLogo, [&] {
        HWND window = waitForShowWindow(NULL, 20000);
        if (!window)
            return;
        Sleep(800);
        beforeToggle = angle();
        pressKey(window, VK_F1);
        second = waitForShowWindow(window, 20000);
        secondWindow = angle();
        if (second) {
            Sleep(200);
            pressKey(second, VK_ESCAPE);
        }
    });
    float ended = spinX;
    int again = driveShow(kyLogo, [&] {
        HWND window = waitForShowWindow(NULL, 20000);
        nextShow = angle();
        if (window)
            pressKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(first, 0);
    EXPECT_EQ(again, 0);
    ASSERT_NE(second, static_cast<HWND>(NULL)) << "F1 made a second window";
    EXPECT_GT(beforeToggle, 10.0f) << "0.8 s of turning, about 25 degrees about x";
    EXPECT_GE(secondWindow, beforeToggle) << "the second window goes on from the first one's angle";
    EXPECT_GE(ended, secondWindow);
    EXPECT_GE(nextShow, ended) << "the next show goes on from the last one's angle";
}

TEST_F(LogoShow, MinimizedShowDrawsNothingAndCatchesUpOnRestore)
{
    auto angle = [] { return *static_cast<volatile float *>(&spinX); };
    bool iconic = false;
    float minimized = 0, stillMinimized = 0, restored = 0;
    int result = driveShow(kyLogo, [&] {
        HWND window = waitForShowWindow(NULL, 20000);
        if (!window)
            return;
        Sleep(300);
        ShowWindow(window, SW_MINIMIZE);
        for (int i = 0; i < 200 && !IsIconic(window); ++i)
            Sleep(10);
        iconic = IsIconic(window) != 0;
        Sleep(100);  // a frame already under way ends
        minimized = angle();
        Sleep(1000);
        stillMinimized = angle();
        ShowWindow(window, SW_RESTORE);
        Sleep(300);
        restored = angle();
        pressKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(result, 0);
    if (!iconic)
        GTEST_SKIP() << "this display could not minimize the show's window";
    EXPECT_EQ(stillMinimized, minimized) << "no frames are drawn while minimized";
    EXPECT_GT(restored - stillMinimized, 1000 * spinRateX * 0.95f)
        << "the first frame after restoring turns the cube by the whole time that passed";
}

// The frame clock as literal counts: a 10 MHz performance counter (0.1 us a count)
// passes 2^32 after about seven minutes, and a show restored after a long minimize must
// turn by all the time that passed.
TEST(LogoFrameClock, ElapsedTimeUsesTheWhole64BitCount)
{
    const float tenMHz = 1e-7f, ticks = 0.001f;
    const struct {
        ULONGLONG last, now;
        float secondsPerCount;
        double ms;
    } cases[] = {
        {1000, 1000, tenMHz, 0.0},
        {1000, 1000 + 166667, tenMHz, 16.6667},                     // one frame at 60 Hz
        {0xFFFFFF00ull, 0x100000100ull, tenMHz, 0.0512},           // 512 counts across the 32-bit wrap
        {5000, 5000 + 6000000000ull, tenMHz, 600000.0},            // ten minutes minimized
        {0x1FFFFFFF0ull, 0x1FFFFFFF0ull + 36000000000ull, tenMHz, 3600000.0},  // an hour, past 2^33
        {0xFFFFFFF0ull, 0x100000010ull, ticks, 32.0},               // the tick clock, widened
    };
    for (const auto &c : cases) {
        const double got = frameElapsedMs(c.now, c.last, c.secondsPerCount);
        EXPECT_NEAR(got, c.ms, c.ms * 1e-5 + 1e-4) << "from " << c.last << " to " << c.now;
    }
}

TEST(LogoFrameClock, TickCountIsWidenedAcrossItsWrap)
{
    const struct {
        ULONGLONG last;
        DWORD tick;
        ULONGLONG widened;
    } cases[] = {
        {0, 0, 0},
        {0, 1234, 1234},
        {0xFFFFFFF0ull, 0x10, 0x100000010ull},          // the tick count wrapped since the last frame
        {0x1FFFFFFF0ull, 0xFFFFFFF5, 0x1FFFFFFF5ull},   // no wrap, high bits kept
        {0x2FFFFFFF0ull, 0x5, 0x300000005ull},
    };
    for (const auto &c : cases)
        EXPECT_EQ(widenTickCount(c.last, c.tick), c.widened) << "last " << c.last << ", tick " << c.tick;
}

TEST(LogoShowFailure, TakenClassNameFailsWithMinusOne)
{
    WNDCLASSEXA taken = {};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = GetModuleHandleA(NULL);
    taken.lpszClassName = "OpenGL";
    ASSERT_NE(RegisterClassExA(&taken), 0) << "the test takes the show's class name first";
    kytest::startBoxWatcher();
    kytest::clearSeenBoxes();
    int result = KYDLL(kyLogo)();
    std::vector<kytest::SeenBox> boxes = kytest::seenBoxes();
    kytest::stopBoxWatcher();
    UnregisterClassA("OpenGL", GetModuleHandleA(NULL));
    EXPECT_EQ(result, -1);
    ASSERT_EQ(boxes.size(), size_t(2));
    EXPECT_EQ(boxes[0].text, "RegisterClassEx Failed!");
    EXPECT_EQ(boxes[1].text, "Error Registering Window Class!");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[1].caption, "Error");
}

BOOL WINAPI refusePixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR *) { return FALSE; }

TEST(LogoShowFailure, WindowThatCantBeMadeEndsTheShowWithAMessage)
{
    logotest::InFolder here(kytest::programFolder());
    ASSERT_TRUE(here.ok());
    std::string why;
    bool gl = logotest::glAvailable(&why);
    // Where GL works, the library's own copy is made to fail: at the pixel format, or
    // without one of its GL libraries. Without GL in this run (the emulated 32-bit one),
    // the DLL fails on its own, and that is all: after the emulated GL's failure, more
    // shows and boxes now and then ended the emulated process.
    struct Case {
        const char *what;
        int refusePixelFormat;
        LazyLibrary withheld;  // lazyLibraryCount: none
        int dll;               // the DLL rather than the test's copy
        int withGl;            // runs where GL works (1) or where it doesn't (0)
    } cases[] = {
        {"pixel format refused", 1, lazyLibraryCount, 0, 1},
        {"without opengl32", 0, lazyOpenGl32, 0, 1},
        {"without glu32", 0, lazyGlu32, 0, 1},
        {"no GL in this run", 0, lazyLibraryCount, 1, 0},
    };
    for (const Case &c : cases) {
        if (c.withGl != gl)
            continue;
        SCOPED_TRACE(c.what);
        kytest::startBoxWatcher();
        kytest::clearSeenBoxes();
        if (c.refusePixelFormat)
            logoSetPixelFormat = refusePixelFormat;
        if (c.withheld != lazyLibraryCount)
            withholdLazyLibrary(c.withheld, 1);
        // A show that opened all the same is closed after a while, so the case ends.
        int result = c.dll ? dllLogo() : driveShow(kyLogo, [] {});
        logoSetPixelFormat = SetPixelFormat;
        if (c.withheld != lazyLibraryCount)
            withholdLazyLibrary(c.withheld, 0);
        std::vector<kytest::SeenBox> boxes = kytest::seenBoxes();
        kytest::stopBoxWatcher();
        EXPECT_EQ(result, 0) << "the show ended";
        ASSERT_EQ(boxes.size(), size_t(1)) << (gl ? "" : why);
        EXPECT_EQ(boxes[0].caption, "Error");
        EXPECT_EQ(boxes[0].text, "Error Creating OpenGL Window");
        EXPECT_EQ(FindWindowA("OpenGL", NULL), static_cast<HWND>(NULL)) << "the failed window was destroyed";
        expectCallerLoopUnaffected();
    }
}

}  // namespace
