// kySoftClock: the clock as a toggle. The first call opens the clock and runs its
// message loop on the caller's thread until the clock closes; a second call, made from
// a handler that loop dispatched, closes it.
#include "exports.h"
#include "clock/clock.h"
#include "frame/lazycalls.h"

#include <stdio.h>

static void showError(const char *text)
{
    MessageBoxA(NULL, text, "Error", MB_OK);
}

// Layered windows and alpha blending arrived late; without them the clock can't be shown.
static int findLayeredSupport(ClockState &s)
{
    s.user32 = GetModuleHandleA("USER32.DLL");
    s.gdi32 = GetModuleHandleA("GDI32.DLL");
    s.updateLayeredWindow = reinterpret_cast<UpdateLayeredWindowFn>(
        s.user32 ? clockProcLookup(s.user32, "UpdateLayeredWindow") : NULL);
    s.setLayeredWindowAttributes = s.user32 ? clockProcLookup(s.user32, "SetLayeredWindowAttributes") : NULL;
    s.gdiAlphaBlend = s.gdi32 ? clockProcLookup(s.gdi32, "GdiAlphaBlend") : NULL;
    if (!s.updateLayeredWindow || !s.setLayeredWindowAttributes) {
        showError("Not Found Layered Window Support");
        return 0;
    }
    // The face is drawn with msimg32's GradientFill, another late arrival, bound here.
    if (!s.gdiAlphaBlend || !bindLazyLibrary(lazyMsImg32)) {
        showError("Not Found Alpha Blend Support");
        return 0;
    }
    return 1;
}

// Opens the clock window and runs the loop until WM_QUIT.
static void openAndRun(ClockState &s, HINSTANCE instance, int showCommand)
{
    if (!findLayeredSupport(s))
        return;
    if (!createClockWindow(instance, showCommand)) {
        showError("Init no OK");
        return;
    }
    prepareClockSurface();  // a missing surface is shown to the user and leaves the window blank

    if (s.screenDc) {
        int depth = GetDeviceCaps(s.screenDc, BITSPIXEL);
        if (depth < 32) {
            char text[96];
            snprintf(text, sizeof text, "BitsPerPixel:%d\nThis program only works under 32bpp", depth);
            showError(text);
        }
    }
    // A handler run by one of the set-up's message boxes may have closed the clock
    // already; its quit is waiting, and the loop below ends on it at once.
    if (s.window)
        SetTimer(s.window, clockTimerId, clockTimerPeriodMs, NULL);
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(clockAcceleratorsId));

    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, NULL, 0, 0)) != 0) {
        if (got == -1)
            break;
        if (accelerators && TranslateAcceleratorA(msg.hwnd, accelerators, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // A quit the caller posted (its main window closing) ended this loop while the
    // clock is still open: close the clock and pass the quit on to the caller's loop.
    if (got == 0 && s.window) {
        int exitCode = static_cast<int>(msg.wParam);
        DestroyWindow(s.window);
        PostQuitMessage(exitCode);
    }
}

int runClock(HINSTANCE instance, int showCommand, int turnOn)
{
    ClockState &s = clockState;
    if (!turnOn) {
        if (s.window && IsWindow(s.window))
            DestroyWindow(s.window);
        return 0;
    }
    // One clock at a time: a second set-up would replace the open clock's surface.
    if (s.window && IsWindow(s.window))
        return 0;
    s.instance = instance;
    registerClockClass(instance);
    openAndRun(s, instance, showCommand);
    // The window is gone now, so the class can go too; a class left behind would keep
    // this module's window procedure after the library is unloaded.
    UnregisterClassA(clockClassName, instance);
    return 0;
}

extern "C" int KYCALL kySoftClock(void)
{
    ClockState &s = clockState;
    HINSTANCE instance = GetModuleHandleA(NULL);
    if (s.clockOn == 0) {
        s.clockOn = 1;
        MessageBoxA(NULL, "We will activate clock!\nUse mouse to move it", "Note", MB_ICONINFORMATION);
        // A call made while the note was up turned the clock off again.
        if (s.clockOn == 0)
            return 0;
        return runClock(instance, SW_SHOW, 1);
    }
    s.clockOn = 0;
    MessageBoxA(NULL, "We will deactivate clock!\nThank You.", "Note", MB_ICONINFORMATION);
    return runClock(instance, SW_SHOW, 0);
}
