// The effect exports: replay a snapshot of a window or the screen, or draw one window's
// picture into another, with a numbered effect. The busy flags refuse nested calls
// that a message dispatched during a pause could otherwise start.
#include "exports.h"
#include "effects/effects.h"

// One flag for both snapshot exports, one for the window-to-window effect.
static int snapshotBusy = 0;
static int copyBusy = 0;

enum { framePauseMs = 1, frameParam = 20 };

static void playSnapshot(HWND window, int effect, int blankMode)
{
    int width, height;
    if (!effectWindowSize(window, &width, &height))
        return;
    HDC windowDc = GetWindowDC(window);
    HDC memory = windowDc ? CreateCompatibleDC(windowDc) : NULL;
    HBITMAP snapshot = memory ? CreateCompatibleBitmap(windowDc, width, height) : NULL;
    // Without a snapshot there is nothing to bring back, so the window is not blanked.
    if (snapshot) {
        HGDIOBJ previous = SelectObject(memory, snapshot);
        BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        if (blankMode == 1)
            BitBlt(windowDc, 0, 0, width, height, memory, 0, 0, BLACKNESS);
        else if (blankMode == 2)
            BitBlt(windowDc, 0, 0, width, height, memory, 0, 0, WHITENESS);
        runBmpEffect(memory, 0, 0, windowDc, 0, 0, width, height, framePauseMs, frameParam, effect);
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
    playSnapshot(window, effect, blankMode);
    snapshotBusy = 0;
    return 1;
}

extern "C" int KYCALL kyDesktopBmpEffect(int effect, int blankMode)
{
    if (snapshotBusy)
        return 1;
    snapshotBusy = 1;
    playSnapshot(GetDesktopWindow(), effect, blankMode);
    snapshotBusy = 0;
    return 1;
}

extern "C" int KYCALL kyWindowBmpEffect2(HWND target, HWND source, int effect)
{
    if (copyBusy)
        return 1;
    copyBusy = 1;
    int width, height;
    // The rectangle is the target's outer size; drawing is clipped to its client area.
    if (effectWindowSize(target, &width, &height) && IsWindow(source)) {
        HDC targetDc = GetDC(target);
        HDC sourceDc = targetDc ? GetDC(source) : NULL;
        if (sourceDc) {
            runBmpEffect(sourceDc, 0, 0, targetDc, 0, 0, width, height, framePauseMs, frameParam, effect);
            ReleaseDC(source, sourceDc);
        }
        if (targetDc)
            ReleaseDC(target, targetDc);
    }
    copyBusy = 0;
    return 1;
}
