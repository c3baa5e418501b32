// The clock's window: its class, its creation, and the procedure that draws on each
// tick, follows a left-button drag and tears everything down when the window goes.
#include "clock/clock.h"
#include "clock/face.h"

#if !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA is 48 bytes on 32-bit Windows");
#endif

void registerClockClass(HINSTANCE instance)
{
    WNDCLASSEXA wc;
    wc.cbSize = sizeof wc;
    wc.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = clockWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    // The icons and accelerators belong to the calling program; most programs have none.
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(clockLargeIconId));
    wc.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = NULL;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = clockClassName;
    wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(clockSmallIconId));
    // A failure means the class is still there; creation then uses it.
    RegisterClassExA(&wc);
}

int createClockWindow(HINSTANCE instance, int showCommand)
{
    ClockState &s = clockState;
    s.window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOPMOST, clockClassName, clockWindowName, WS_POPUP | WS_SYSMENU,
                               0, 0, clockSide, clockSide, NULL, NULL, instance, NULL);
    if (!s.window) {
        MessageBoxA(NULL, "Error Create Window", "Error", MB_OK);
        return 0;
    }
    ShowWindow(s.window, showCommand);
    UpdateWindow(s.window);
    return 1;
}

// A place remembered from an earlier clock may be on no monitor now (one was unplugged,
// the mode got smaller, the clock was dropped beyond every screen): the clock would open
// out of sight, and it can only be dragged where it can be seen.
POINT clockOpeningOrigin(POINT remembered)
{
    RECT place = {remembered.x, remembered.y, remembered.x + clockSide, remembered.y + clockSide};
    if (MonitorFromRect(&place, MONITOR_DEFAULTTONULL))
        return remembered;
    POINT corner = {0, 0};
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(corner, MONITOR_DEFAULTTOPRIMARY), &info)) {
        corner.x = info.rcWork.left;
        corner.y = info.rcWork.top;
    }
    return corner;
}

// A drag step: the window follows the cursor's movement since the previous step, and
// the last frame is shown again at the new place without redrawing.
static void followCursor(HWND hwnd)
{
    ClockState &s = clockState;
    // Without a surface the window is never moved over it.
    if (!s.surfaceBits || !s.updateLayeredWindow)
        return;
    RECT r;
    POINT p;
    if (!GetWindowRect(hwnd, &r) || !GetCursorPos(&p))
        return;
    OffsetRect(&r, p.x - s.lastCursor.x, p.y - s.lastCursor.y);
    s.lastCursor = p;
    s.clockOrigin.x = r.left;
    s.clockOrigin.y = r.top;
    s.updateLayeredWindow(hwnd, s.screenDc, &s.clockOrigin, &s.clockSize, s.memoryDc, &s.surfaceOrigin, 0, &s.blend,
                          ULW_ALPHA);
}

LRESULT CALLBACK clockWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ClockState &s = clockState;
    switch (message) {
    case WM_TIMER:
        drawClockFrame();
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        GetCursorPos(&s.lastCursor);
        s.dragging = 1;
        return 0;
    case WM_MOUSEMOVE:
        if (s.dragging == 1)
            followCursor(hwnd);
        return 0;
    case WM_LBUTTONUP:
        s.dragging = 0;
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-drag (another window, a menu): the button-up will
        // never come, so the drag ends here rather than following a free mouse.
        s.dragging = 0;
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == clockCloseCommand) {
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        KillTimer(hwnd, clockTimerId);
        releaseClockSurface();
        // The class is unregistered by runClock once the window is gone; here it
        // still has this window and could not be.
        if (s.window == hwnd)
            s.window = NULL;  // a stale handle could later name someone else's window
        s.dragging = 0;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
