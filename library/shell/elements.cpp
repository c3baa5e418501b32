// Hiding and showing parts of the shell by calling ShowWindow on the shell's own windows.
// Nothing is remembered: a show export simply shows the same window again, and without
// the window the system call fails and the export returns 0.
#include "exports.h"
#include "shell/elements.h"

ShellWindowClasses shellWindowClasses = {"Shell_TrayWnd", "progman"};

HWND findTaskBar()
{
    return FindWindowA(shellWindowClasses.taskBar, NULL);
}

HWND findStartButton()
{
    return GetDlgItem(findTaskBar(), startButtonId);
}

HWND findTrayClock()
{
    return GetDlgItem(GetDlgItem(findTaskBar(), notificationAreaId), trayClockId);
}

HWND findDesktopIcons()
{
    return FindWindowA(shellWindowClasses.desktopIcons, NULL);
}

// The clock is redrawn at once so the notification area closes the gap (or makes room)
// now rather than at its next repaint.
static int showAndUpdate(HWND window, int command)
{
    ShowWindow(window, command);
    return UpdateWindow(window);
}

extern "C" int KYCALL kyHideTaskBar(void)
{
    return ShowWindow(findTaskBar(), SW_HIDE);
}

extern "C" int KYCALL kyShowTaskBar(void)
{
    return ShowWindow(findTaskBar(), SW_SHOW);
}

extern "C" int KYCALL kyHideStartButton(void)
{
    return ShowWindow(findStartButton(), SW_HIDE);
}

extern "C" int KYCALL kyShowStartButton(void)
{
    return ShowWindow(findStartButton(), SW_SHOW);
}

extern "C" int KYCALL kyHideSystemClock(void)
{
    return showAndUpdate(findTrayClock(), SW_HIDE);
}

extern "C" int KYCALL kyShowSystemClock(void)
{
    return showAndUpdate(findTrayClock(), SW_SHOW);
}

// Both icon exports hide first, so their result (the visibility before the second
// call) is 0 whenever the window exists; callers have never been told more.
extern "C" int KYCALL kyHideDesktopIcons(void)
{
    HWND icons = findDesktopIcons();
    ShowWindow(icons, SW_HIDE);
    return ShowWindow(icons, SW_HIDE);
}

extern "C" int KYCALL kyShowDesktopIcons(void)
{
    HWND icons = findDesktopIcons();
    ShowWindow(icons, SW_HIDE);
    return ShowWindow(icons, SW_SHOWNORMAL);
}

extern "C" int KYCALL kyHideDesktop(void)
{
    return ShowWindow(GetDesktopWindow(), SW_HIDE);
}

extern "C" int KYCALL kyShowDesktop(void)
{
    return ShowWindow(GetDesktopWindow(), SW_SHOW);
}
