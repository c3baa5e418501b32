// What the hostile-input sweep, the leak check and the re-entrancy cases share: timed
// cases, the windows a careless caller hands the library (live ones of every shape, one
// already destroyed, one owned by another thread) and oracles seen from outside the
// library.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <thread>

namespace sweep {

// Runs one case of `exportName` with the inputs `inputs` named in its failures, and fails
// it when it returned after limitMs: a call that late freezes a caller's user interface.
void timedCase(const std::string &exportName, const std::string &inputs, DWORD limitMs,
               const std::function<void()> &body);
// Whether this process has run a case of `exportName` through timedCase.
bool wasSwept(const std::string &exportName);

void destroyWindows(std::initializer_list<HWND> windows);

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

// The CDS_TEST answer for width x height at 32 bits: what a real switch to that mode by
// the library must return.
int testedMode(DWORD width, DWORD height);
// What a CDS_TEST request for width x height at 32 bits must answer, judged from the modes
// the system lists for the screen: DISP_CHANGE_SUCCESSFUL or DISP_CHANGE_BADMODE.
int listedModeAnswer(DWORD width, DWORD height);

// Whether `path` is the system folder as the system names it to programs of this
// architecture (the 32-bit one's, under a 64-bit system, included).
bool isSystemFolder(const char *path);

// The clock rate recorded for processor 0, in MHz, or 0.
DWORD recordedMhz();

}  // namespace sweep
