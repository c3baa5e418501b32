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
    DWORD lastCount;   // frame-clock reading at the previous frame
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

// Milliseconds between two frame-clock readings; the counter is read as 32 bits, so the
// difference is taken modulo 2^32 and survives one wrap.
float frameElapsedMs(DWORD now, DWORD last, float secondsPerCount);

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
