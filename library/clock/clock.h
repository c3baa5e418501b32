// The desktop clock's record and its internal routines. The clock keeps one record for
// the whole process, so a clock opened again comes back where it was dropped and its
// rotor goes on from the angle where it stopped.
#pragma once
#include <windows.h>

enum {
    clockSide = 128,                                  // window and surface are square
    clockSurfaceBytes = clockSide * clockSide * 4,    // blue, green, red, alpha per pixel
    clockTimerId = 110,
    clockTimerPeriodMs = 33,
    clockCloseCommand = 105,
    clockLargeIconId = 107,
    clockSmallIconId = 108,
    clockAcceleratorsId = 109,
};

extern const char clockClassName[];   // "kydoru"
extern const char clockWindowName[];  // "KY DORU CLOCK"

typedef BOOL(WINAPI *UpdateLayeredWindowFn)(HWND, HDC, POINT *, SIZE *, HDC, POINT *, COLORREF,
                                            BLENDFUNCTION *, DWORD);

struct ClockState {
    int clockOn;                    // the toggle: changed only by kySoftClock
    HWND window;                    // the open clock window, null when none is open
    HINSTANCE instance;             // the calling program's main module
    HMODULE user32;
    HMODULE gdi32;
    UpdateLayeredWindowFn updateLayeredWindow;
    FARPROC setLayeredWindowAttributes;  // only its presence is tested
    FARPROC gdiAlphaBlend;               // only its presence is tested
    HDC screenDc;
    HDC memoryDc;
    HBITMAP surface;
    HGDIOBJ displacedBitmap;        // what the surface replaced in memoryDc, put back before deletion
    unsigned char *surfaceBits;     // null whenever there is no usable surface
    BLENDFUNCTION blend;
    SIZE clockSize;
    POINT clockOrigin;              // kept across activations
    POINT surfaceOrigin;
    unsigned int clockTicks;        // frames drawn since load; wraps instead of overflowing
    int dragging;
    POINT lastCursor;
};

extern ClockState clockState;

// Test seams: how optional functions are found and how the surface is made. They hold
// the system's own functions unless a test replaces them.
typedef FARPROC(WINAPI *ClockProcLookupFn)(HMODULE, LPCSTR);
typedef HBITMAP(WINAPI *ClockCreateDibSectionFn)(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
extern ClockProcLookupFn clockProcLookup;
extern ClockCreateDibSectionFn clockCreateDibSection;

// Set-up, loop and teardown (clock/session.cpp, clock/window.cpp, clock/surface.cpp).
int runClock(HINSTANCE instance, int showCommand, int turnOn);
void registerClockClass(HINSTANCE instance);
int createClockWindow(HINSTANCE instance, int showCommand);
int prepareClockSurface();
void releaseClockSurface();
LRESULT CALLBACK clockWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Where a clock opens: its remembered place while any part of it is on a monitor there,
// else the top-left corner of the primary monitor's work area.
POINT clockOpeningOrigin(POINT remembered);

// The surface's header: 32-bit, 128 x 128, top-down.
void buildClockSurfaceHeader(BITMAPINFOHEADER *header);
