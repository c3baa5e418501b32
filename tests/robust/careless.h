// The windows a careless caller hands the library: live ones of every shape, one that is
// already destroyed, and one owned by another thread.
#pragma once
#include <windows.h>

#include <functional>
#include <thread>

namespace careless {

// A window of this thread whose client area shows `fill`; WM_APP runs
// kytest::testWindowApp.
HWND makeWindow(int x, int y, int width, int height, COLORREF fill, DWORD style = WS_POPUP | WS_VISIBLE,
                HWND parent = NULL);

// Dispatches this thread's messages for `ms` milliseconds (quits are dropped).
void pump(DWORD ms);

// The handle of a window that existed and was destroyed.
HWND staleWindow();

// A visible popup window created and served by a thread of its own.
class ForeignWindow {
public:
    ForeignWindow(int x, int y, int width, int height, COLORREF fill);
    ~ForeignWindow();
    HWND window = NULL;

private:
    std::thread thread_;
    DWORD threadId_ = 0;
};

// True once the clock is open and none of this process's message boxes (its notes, its
// colour-depth warning) is up: a timer that fires then runs inside the clock's own loop.
bool clockLoopRunning();

// The colour at (x, y) of the window's own context (frame included).
COLORREF pixelAt(HWND window, int x, int y);

}  // namespace careless
