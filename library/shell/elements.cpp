// Hiding and showing parts of the shell by calling ShowWindow on the shell's own windows
// (found by shell/shellwindows.cpp). Nothing is remembered: a show export simply shows
// the same window again. An element the shell at hand has no window for is left alone
// and its exports return 0, as they always did without the window.
#include "exports.h"
#include "shell/shellwindows.h"

// The main task bar's ShowWindow result; the other monitors' task bars follow it.
static int showTaskBars(int command)
{
    HWND main = findTaskBar();
    if (!main)
        return 0;
    HWND bars[maxSecondaryTaskBars];
    const int count = findSecondaryTaskBars(bars, maxSecondaryTaskBars);
    const int result = ShowWindow(main, command);
    for (int i = 0; i < count; ++i)
        ShowWindow(bars[i], command);
    return result;
}

// The clock is redrawn at once so the notification area closes the gap (or makes room)
// now rather than at its next repaint.
static int showAndUpdate(HWND window, int command)
{
    if (!window)
        return 0;
    ShowWindow(window, command);
    return UpdateWindow(window);
}

// Both icon exports hide first, so their result (the visibility before the second
// call) is 0 whenever the window exists; callers have never been told more. Where the
// icons live under a WorkerW rather than in Progman, their view gets the same calls.
static int showDesktopIcons(int secondCommand)
{
    HWND progman = findDesktopIcons();
    HWND windows[2] = {progman, findIconsOutsideProgman(progman)};
    int result = 0;
    for (HWND window : windows) {
        if (!window)
            continue;
        ShowWindow(window, SW_HIDE);
        result = ShowWindow(window, secondCommand);
    }
    return result;
}

extern "C" int KYCALL kyHideTaskBar(void)
{
    return showTaskBars(SW_HIDE);
}

extern "C" int KYCALL kyShowTaskBar(void)
{
    return showTaskBars(SW_SHOW);
}

// ShowWindow's result for a window that was found; 0 where there is none.
static int showFound(HWND window, int command)
{
    return window ? ShowWindow(window, command) : 0;
}

extern "C" int KYCALL kyHideStartButton(void)
{
    return showFound(findStartButton(), SW_HIDE);
}

extern "C" int KYCALL kyShowStartButton(void)
{
    return showFound(findStartButton(), SW_SHOW);
}

extern "C" int KYCALL kyHideSystemClock(void)
{
    return showAndUpdate(findTrayClock(), SW_HIDE);
}

extern "C" int KYCALL kyShowSystemClock(void)
{
    return showAndUpdate(findTrayClock(), SW_SHOW);
}

extern "C" int KYCALL kyHideDesktopIcons(void)
{
    return showDesktopIcons(SW_HIDE);
}

extern "C" int KYCALL kyShowDesktopIcons(void)
{
    return showDesktopIcons(SW_SHOWNORMAL);
}

extern "C" int KYCALL kyHideDesktop(void)
{
    return ShowWindow(GetDesktopWindow(), SW_HIDE);
}

extern "C" int KYCALL kyShowDesktop(void)
{
    return ShowWindow(GetDesktopWindow(), SW_SHOW);
}
