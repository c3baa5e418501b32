// Test helpers that need no test framework (shared with the tests' child programs):
// message pumping with time limits, a watcher that answers message boxes, test windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kytest {

// Dispatches this thread's messages for `ms` milliseconds.
void pumpMessages(DWORD ms);
// Dispatches messages until `done` holds or `limitMs` pass; returns whether it held.
bool waitUntil(const std::function<bool()> &done, DWORD limitMs);

// Message boxes shown by this process are answered by a watcher thread while it runs;
// each one it closed is remembered with its caption and text.
struct SeenBox {
    std::string caption;
    std::string text;
};
void startBoxWatcher();
// Whether `window` is a message box of this process that is on screen.
bool isOwnMessageBox(HWND window);
void stopBoxWatcher();
std::vector<SeenBox> seenBoxes();
void clearSeenBoxes();
// Waits (pumping this thread) until the watcher has closed `count` boxes in all.
bool waitForBoxes(size_t count, DWORD limitMs);

// A visible window of this thread whose client area is filled with `fill`; WM_APP sent
// to it runs testWindowApp (re-entrancy probes), when set.
HWND createTestWindow(int x, int y, int width, int height, COLORREF fill,
                      DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exStyle = 0, HWND parent = NULL);
extern std::function<void(HWND, WPARAM)> testWindowApp;

// The folder of the running test program, with a trailing backslash.
std::string programFolder();

// Whether this is the test display with two monitors side by side (testenv.sh
// two-monitors): the primary, 1024 x 768 at (0, 0), and 800 x 600 at (1024, 0).
bool onTwoMonitorDisplay();

// True in the 32-bit build.
constexpr bool is32Bit() { return sizeof(void *) == 4; }

// Whether this process may make the storage query that every kyHDid call makes: the
// emulated 32-bit Wine (qemu-user) never returns from it while another thread of the
// process runs, as the case clock of this harness does (tests/device/disk32.c shows it
// with a thread that only sleeps). The 32-bit run calls the real kyHDid from disk32, a
// program of one thread; here the disk cases run in the 64-bit suite.
constexpr bool storageQuerySurvives() { return !is32Bit(); }

// Live GDI objects of this process: the system's count where it keeps one (Wine answers
// 0), otherwise minus the bitmaps that still fit in the handle table; either way a leaked
// object raises it by one.
long gdiObjectsInUse();

}  // namespace kytest
