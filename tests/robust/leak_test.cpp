// Leak check: the process's GDI objects, user objects and kernel handles are the same
// before and after long runs of the exports that make them. Each loop is warmed up once
// first, so that caches the system fills on first use (stock objects, window classes, DC
// caches, loaded modules) are not counted as leaks.
#include "kytest.h"

#include <GL/gl.h>

#include <atomic>
#include <thread>
#include <vector>

#include "handles.h"
#include "sweep.h"
#include "../logo/logo_gl.h"
#include "effects/effects.h"
#include "logo/picture.h"

namespace {

struct Counts {
    long gdi;      // live GDI objects, or minus the room left in the GDI table
    long user;     // live user objects, or the process's windows
    long handles;  // kernel handles, -1 when the system won't say
};

BOOL CALLBACK countWindow(HWND window, LPARAM countPtr)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId()) {
        ++*reinterpret_cast<long *>(countPtr);
        EnumChildWindows(window, countWindow, countPtr);
    }
    return TRUE;
}

// The library's user objects are windows (and the classes behind them); where the system
// keeps no count, the windows of this process are counted.
long userMeasure()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counted)
        return long(counted);
    long windows = 0;
    EnumWindows(countWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

Counts countNow()
{
    return {kytest::gdiObjectsInUse(), userMeasure(), kytest::openHandleCount()};
}

// What the system frees a moment after a window or a message box has closed would read as
// a leak: the counts are taken again, pumping messages, until they are back or 5 s have
// passed. A leak per call never comes back.
bool sameCounts(const Counts &a, const Counts &b)
{
    return a.gdi == b.gdi && a.user == b.user && a.handles == b.handles;
}

Counts countAfter(const Counts &before)
{
    Counts now = countNow();
    const DWORD start = GetTickCount();
    while (!sameCounts(now, before) && GetTickCount() - start < 5000) {
        kytest::pumpMessages(100);
        now = countNow();
    }
    return now;
}

void expectNoLeak(const Counts &before, const Counts &after, const char *loop)
{
    EXPECT_EQ(after.gdi, before.gdi) << loop << ": GDI objects";
    EXPECT_EQ(after.user, before.user) << loop << ": user objects";
    if (before.handles >= 0) {
        EXPECT_EQ(after.handles, before.handles) << loop << ": kernel handles";
    }
}

HWND paintedWindow(int x, int y, int width, int height)
{
    HWND window = kytest::createTestWindow(x, y, width, height, RGB(200, 40, 40), WS_POPUP | WS_VISIBLE);
    kytest::pumpMessages(50);
    return window;
}

// A bitmap selected into a memory context: an effect's source or target off screen.
struct MemorySurface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

MemorySurface makeSurface(int width, int height)
{
    HDC screen = GetDC(NULL);
    MemorySurface s;
    s.dc = CreateCompatibleDC(screen);
    s.bitmap = CreateCompatibleBitmap(screen, width, height);
    s.previous = SelectObject(s.dc, s.bitmap);
    ReleaseDC(NULL, screen);
    return s;
}

void freeSurface(const MemorySurface &s)
{
    SelectObject(s.dc, s.previous);
    DeleteObject(s.bitmap);
    DeleteDC(s.dc);
}

TEST(NoLeaks, EveryEffect200Times)
{
    MemorySurface source = makeSurface(48, 36), target = makeSurface(48, 36);
    HWND window = paintedWindow(30, 30, 24, 18);
    HWND line = paintedWindow(80, 30, 1, 18);  // one column: the sweep's shortest run
    HWND speck = paintedWindow(100, 30, 3, 3);
    ASSERT_TRUE(window && line && speck);
    auto windowEffect = KYDLL(kyWindowBmpEffect);
    auto copyEffect = KYDLL(kyWindowBmpEffect2);
    for (int effect = 0; effect < effectCount; ++effect)
        runBmpEffect(source.dc, 0, 0, target.dc, 0, 0, 48, 36, 0, 20, effect);
    windowEffect(window, 3, 1);
    copyEffect(window, window, 3);
    KYDLL(kyWindowD1)(line);
    KYDLL(kyWindowErase)(speck);
    KYDLL(kyDesktopBmpEffect)(3, 0);

    const Counts before = countNow();
    // Every routine 200 times without pauses (each routine's own objects: the drips' depth
    // arrays, the squeezes' scratch bitmaps).
    for (int round = 0; round < 200; ++round)
        for (int effect = 0; effect < effectCount; ++effect)
            runBmpEffect(source.dc, 0, 0, target.dc, 0, 0, 48, 36, 0, 20, effect);
    // The exports pace every step by at least a system tick, so 200 calls of each would
    // take minutes: the snapshot and copy exports run each effect once (22 calls each),
    // the erase (100 pauses a call) 20 times, the desktop replay once; the one-column
    // sweep is cheap and runs 200 times.
    for (int effect = 0; effect < effectCount; ++effect) {
        windowEffect(window, effect, 1 + effect % 3);
        copyEffect(window, window, effect);
    }
    KYDLL(kyDesktopBmpEffect)(14, 2);
    for (int i = 0; i < 200; ++i)
        KYDLL(kyWindowD1)(line);
    for (int i = 0; i < 20; ++i)
        KYDLL(kyWindowErase)(speck);
    expectNoLeak(before, countAfter(before), "effects");

    DestroyWindow(speck);
    DestroyWindow(line);
    DestroyWindow(window);
    freeSurface(target);
    freeSurface(source);
}

// The clock draws a frame on each WM_TIMER: 1000 of them are posted at once, then a
// message of the test's own window (behind them in the queue) closes the clock.
std::atomic<int> framesPosted{0};

void CALLBACK postFrames(HWND, UINT, UINT_PTR id, DWORD)
{
    // The timer also fires while the opening note is up, before the clock's loop runs.
    if (!sweep::clockLoopRunning())
        return;
    KillTimer(NULL, id);
    HWND clock = FindWindowA("kydoru", NULL);
    for (int i = 0; i < 1000; ++i)
        framesPosted += PostMessageA(clock, WM_TIMER, 110, 0) ? 1 : 0;
    PostMessageA(FindWindowA("kyRobustCloser", NULL), WM_CLOSE, 0, 0);
}

LRESULT CALLBACK closerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        KYDLL(kySoftClock)();  // the second call closes the clock
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeCloser()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = closerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "kyRobustCloser";
    RegisterClassA(&wc);
    return CreateWindowA("kyRobustCloser", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

void runClockFor1000Frames()
{
    framesPosted = 0;
    SetTimer(NULL, 0, 50, postFrames);
    KYDLL(kySoftClock)();
}

TEST(NoLeaks, ThousandClockFrames)
{
    kytest::startBoxWatcher();
    HWND closer = makeCloser();
    ASSERT_TRUE(closer);
    runClockFor1000Frames();  // warm-up: the class, the notes' dialog resources
    const Counts before = countNow();
    runClockFor1000Frames();
    const Counts after = countAfter(before);
    kytest::stopBoxWatcher();
    DestroyWindow(closer);
    EXPECT_EQ(framesPosted, 1000) << "the clock window was found and fed its frames";
    EXPECT_EQ(FindWindowA("kydoru", NULL), HWND(NULL)) << "the clock closed";
    expectNoLeak(before, after, "1000 clock frames");
}

void showLogoOnce()
{
    std::atomic<bool> returned{false};
    std::thread closer([&] {
        HWND show = NULL;
        while (!returned && !(show = FindWindowA("OpenGL", NULL)))
            Sleep(10);
        if (show)
            PostMessageA(show, WM_CLOSE, 0, 0);
    });
    KYDLL(kyLogo)();
    returned = true;
    closer.join();
}

TEST(NoLeaks, LogoWindows)
{
    std::string why;
    if (!logotest::glAvailable(&why))
        GTEST_SKIP() << "OpenGL is not available in this run (" << why << ")";
    logotest::InFolder here(kytest::programFolder());  // the show's pictures are beside the tests
    showLogoOnce();
    const Counts before = countNow();
    // 5 shows rather than 20: under Wine on Xvfb each new show window costs about 2 s
    // before it is mapped, and a leak of one object per window still shows as 5.
    for (int i = 0; i < 5; ++i)
        showLogoOnce();
    expectNoLeak(before, countAfter(before), "5 logo windows");
}

TEST(NoLeaks, TwoHundredTextureLoads)
{
    logotest::GlWindow gl;
    if (!logotest::openGlWindow(&gl, 64, 64)) {
        logotest::closeGlWindow(&gl);
        GTEST_SKIP() << "OpenGL is not available in this run (" << gl.why << ")";
    }
    logotest::InFolder here(kytest::programFolder());
    unsigned int texture = 0;
    ASSERT_EQ(loadPictureTexture("ky.jpg", &texture), 1);
    glDeleteTextures(1, &texture);
    const Counts before = countNow();
    int loaded = 0;
    for (int i = 0; i < 200; ++i) {
        loaded += loadPictureTexture(i % 2 ? "ky.jpg" : "kydoru.jpg", &texture);
        glDeleteTextures(1, &texture);  // the texture is the caller's
    }
    const Counts after = countAfter(before);
    logotest::closeGlWindow(&gl);
    EXPECT_EQ(loaded, 200);
    expectNoLeak(before, after, "200 texture loads");
}

TEST(NoLeaks, TwoHundredSerialCycles)
{
    auto open = KYDLL(ky_ComOpen);
    auto close = KYDLL(ky_ClosePort);
    if (!open("COM7"))
        GTEST_SKIP() << "no serial line: COM7 is linked onto a socat pty only while the device tests' line runs";
    close();
    const Counts before = countNow();
    int opened = 0, closed = 0;
    for (int i = 0; i < 200; ++i) {
        opened += open("COM7") != NULL;
        closed += close();
    }
    const Counts after = countAfter(before);
    EXPECT_EQ(opened, 200);
    EXPECT_EQ(closed, 200);
    expectNoLeak(before, after, "200 serial open and close cycles");
}

TEST(NoLeaks, TwoHundredAlternateDesktopCycles)
{
    // A thread with no windows: only such a thread can be moved to another desktop. The
    // counts are taken on it, around its loop.
    Counts before = {}, after = {};
    int on = 0, off = 0;
    std::thread([&] {
        KYDLL(kyNewDesktopOn)();
        KYDLL(kyNewDesktopOff)();
        before = countNow();
        for (int i = 0; i < 200; ++i) {
            on += KYDLL(kyNewDesktopOn)() != 0;
            off += KYDLL(kyNewDesktopOff)() != 0;
        }
        after = countAfter(before);
    }).join();
    EXPECT_EQ(on, 200);
    EXPECT_EQ(off, 200);
    expectNoLeak(before, after, "200 alternate desktop cycles");
}

}  // namespace
