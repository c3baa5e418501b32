// The shell's windows found by class and id, the Windows 2000 ids first: each Windows
// since Vista moved an element, and where an element is drawn inside another window
// (Windows 11's task bar) there is nothing to find and nothing is touched.
#include "shell/shellwindows.h"

ShellWindowClasses shellWindowClasses = {"Shell_TrayWnd", "progman"};

static const char secondaryTaskBarClass[] = "Shell_SecondaryTrayWnd";

HWND findTaskBar()
{
    return FindWindowA(shellWindowClasses.taskBar, NULL);
}

int findSecondaryTaskBars(HWND *bars, int capacity)
{
    int count = 0;
    HWND bar = NULL;
    // Bounded: top-level windows come and go while the list is walked.
    while (count < capacity && (bar = FindWindowExA(NULL, bar, secondaryTaskBarClass, NULL)) != NULL)
        bars[count++] = bar;
    return count;
}

HWND findStartButton()
{
    HWND taskBar = findTaskBar();
    if (!taskBar)
        return NULL;
    HWND button = GetDlgItem(taskBar, startButtonId);
    return button ? button : FindWindowExA(taskBar, NULL, "Start", NULL);
}

HWND findTrayClock()
{
    HWND taskBar = findTaskBar();
    if (!taskBar)
        return NULL;
    HWND clock = GetDlgItem(GetDlgItem(taskBar, notificationAreaId), trayClockId);
    if (clock)
        return clock;
    HWND notificationArea = FindWindowExA(taskBar, NULL, "TrayNotifyWnd", NULL);
    return notificationArea ? FindWindowExA(notificationArea, NULL, "TrayClockWClass", NULL) : NULL;
}

HWND findDesktopIcons()
{
    return FindWindowA(shellWindowClasses.desktopIcons, NULL);
}

HWND findIconsOutsideProgman(HWND progman)
{
    if (!progman || FindWindowExA(progman, NULL, "SHELLDLL_DefView", NULL))
        return NULL;
    // The shell keeps a few WorkerW windows; the one holding the view comes first in
    // most cases, but any may. The walk is bounded like the task bars'.
    HWND worker = NULL;
    for (int i = 0; i < 64 && (worker = FindWindowExA(NULL, worker, "WorkerW", NULL)) != NULL; ++i)
        if (HWND view = FindWindowExA(worker, NULL, "SHELLDLL_DefView", NULL))
            return view;
    return NULL;
}
