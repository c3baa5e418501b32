// The logo show's records and the routines of its window and loop, shared by the show,
// its window procedure, the scene and the tests that drive them directly.
#pragma once
#include <windows.h>

enum { logoKeyCount = 256 };

// Key state by virtual-key code: 1 down, 0 up.
struct KeyTable {
    int down[logoKeyCount];
};

// What the window class is registered with, for the length of one show.
struct LogoHost {
    HINSTANCE instance;
    const char *className;
};

struct LogoWindow {
    KeyTable *keyTable;
    HWND window;
    HDC deviceContext;
    HGLRC renderContext;
    LogoHost *host;
    const char *title;
    int width;
    int height;
    int colorBits;
    int fullScreen;    // this window is (to be) full screen
    int shown;         // 1 while not minimized
    int highResTimer;  // 1 when the performance counter is the frame clock
    ULONGLONG lastCount;  // frame-clock reading at the previous frame, all 64 bits
    float secondsPerCount;
};

// Asks the show to close its window and open it again in the other screen mode.
enum { WM_LOGO_TOGGLE_SCREEN = WM_USER + 1 };

extern const char logoClassName[];
extern const char logoTitle[];

// 1 while the show should go on re-creating its window.
extern int logoRunning;
// Whether the next window of the show is full screen.
extern int logoFullScreenWanted;

// The show's starting records: a 640 x 480 x 32 window titled logoTitle, no keys down,
// the class under logoClassName in this program.
void initLogoShow(LogoWindow *w, KeyTable *keys, LogoHost *host);
int registerLogoClass(LogoHost *host);
int openLogoWindow(LogoWindow *w);
int closeLogoWindow(LogoWindow *w);
int switchDisplayMode(int width, int height, int bits);
LRESULT CALLBACK logoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void endLogoShow(LogoWindow *w);
void requestScreenToggle(LogoWindow *w);

// One frame: measure the time since the last one, turn and draw the cube, swap.
void drawLogoFrame(LogoWindow *w);

// Milliseconds between two frame-clock readings. The readings are whole 64-bit counts: a
// 10 MHz performance counter passes 2^32 every seven minutes, and a show restored after a
// longer minimize must turn by all the time that passed.
float frameElapsedMs(ULONGLONG now, ULONGLONG last, float secondsPerCount);

// The tick-count clock (used without a performance counter) widened to 64 bits: the
// 32-bit tick count now, taken as the first reading at or after `last` that matches it,
// so one wrap of the tick count between two frames costs nothing.
ULONGLONG widenTickCount(ULONGLONG last, DWORD tick);

// The window's styles and outer rectangle: full screen is a bare popup of the mode's
// size; a window gets a frame around a client area of width x height, except after a
// refused mode switch, where the whole window, frame included, is width x height.
enum LogoScreen { logoWindowed, logoFullScreen, logoRefusedFullScreen };
struct LogoWindowShape {
    DWORD style;
    DWORD exStyle;
    RECT outer;
};
LogoWindowShape logoWindowShape(LogoScreen screen, int width, int height);

// Test seam: the pixel-format call of openLogoWindow, so a test can make it fail.
typedef BOOL(WINAPI *SetPixelFormatFn)(HDC, int, const PIXELFORMATDESCRIPTOR *);
extern SetPixelFormatFn logoSetPixelFormat;
// Test seam: the display-mode calls of the full-screen show (the switch and the restore),
// so a test can play a display that accepts the mode.
typedef LONG(WINAPI *ChangeDisplaySettingsFn)(DEVMODEA *, DWORD);
extern ChangeDisplaySettingsFn logoChangeDisplaySettings;
