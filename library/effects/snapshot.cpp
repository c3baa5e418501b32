// The effect exports: replay a snapshot of a window or the screen, or draw one window's
// picture into another, with a numbered effect. The busy flags refuse nested calls
// that a message dispatched during a pause could otherwise start.
#include "exports.h"
#include "effects/effects.h"

// One flag for both snapshot exports, one for the window-to-window effect.
static int snapshotBusy = 0;
static int copyBusy = 0;

enum { framePauseMs = 1, frameParam = 20 };

// `screen`: the part of the screen the snapshot may cover, in screen coordinates.
static void playSnapshot(HWND window, const RECT &screen, int effect, int blankMode)
{
    EffectArea area;
    if (!effectWindowArea(window, screen, &area))
        return;
    const int x = area.x, y = area.y, width = area.width, height = area.height;
    HDC windowDc = GetWindowDC(window);
    HDC memory = windowDc ? CreateCompatibleDC(windowDc) : NULL;
    HBITMAP snapshot = memory ? CreateCompatibleBitmap(windowDc, width, height) : NULL;
    // Without a snapshot there is nothing to bring back, so the window is not blanked.
    if (snapshot) {
        HGDIOBJ previous = SelectObject(memory, snapshot);
        BitBlt(memory, 0, 0, width, height, windowDc, x, y, SRCCOPY);
        if (blankMode == 1)
            BitBlt(windowDc, x, y, width, height, memory, 0, 0, BLACKNESS);
        else if (blankMode == 2)
            BitBlt(windowDc, x, y, width, height, memory, 0, 0, WHITENESS);
        runBmpEffect(memory, 0, 0, windowDc, x, y, width, height, framePauseMs, frameParam, effect);
        SelectObject(memory, previous);
        DeleteObject(snapshot);
    }
    if (memory)
        DeleteDC(memory);
    if (windowDc)
        ReleaseDC(window, windowDc);
}

extern "C" int KYCALL kyWindowBmpEffect(HWND window, int effect, int blankMode)
{
    if (snapshotBusy)
        return 1;
    snapshotBusy = 1;
    playSnapshot(window, virtualScreenRect(), effect, blankMode);
    snapshotBusy = 0;
    return 1;
}

extern "C" int KYCALL kyDesktopBmpEffect(int effect, int blankMode)
{
    if (snapshotBusy)
        return 1;
    snapshotBusy = 1;
    // The primary monitor only, whatever the desktop window spans: the other monitors
    // keep showing their windows.
    playSnapshot(GetDesktopWindow(), primaryMonitorRect(), effect, blankMode);
    snapshotBusy = 0;
    return 1;
}

// Moves `area` (the on-screen part of the target's outer size) to the rectangle of the
// outer size placed at the client area's corner, cut to the screen in the same way.
static bool clientArea(HWND target, EffectArea *area)
{
    RECT outer;
    POINT corner = {0, 0};
    if (!GetWindowRect(target, &outer) || !ClientToScreen(target, &corner))
        return false;
    RECT placed = {corner.x, corner.y, corner.x + (outer.right - outer.left), corner.y + (outer.bottom - outer.top)};
    return visiblePart(placed, virtualScreenRect(), area);
}

extern "C" int KYCALL kyWindowBmpEffect2(HWND target, HWND source, int effect)
{
    if (copyBusy)
        return 1;
    copyBusy = 1;
    EffectArea area;
    // The rectangle is the target's outer size from its client area's corner, as far as it
    // lies on the screen; drawing is clipped to the client area.
    if (effectWindowArea(target, &area) && IsWindow(source) && clientArea(target, &area)) {
        HDC targetDc = GetDC(target);
        HDC sourceDc = targetDc ? GetDC(source) : NULL;
        if (sourceDc) {
            runBmpEffect(sourceDc, area.x, area.y, targetDc, area.x, area.y, area.width, area.height, framePauseMs,
                         frameParam, effect);
            ReleaseDC(source, sourceDc);
        }
        if (targetDc)
            ReleaseDC(target, targetDc);
    }
    copyBusy = 0;
    return 1;
}
