// The shell's own windows that the show and hide exports act on, found afresh at every
// call: the shell may have restarted, or be another shell, since the last one.
#pragma once
#include <windows.h>

// Window classes of the task bar and of the desktop-icons window. Tests point them at
// classes nobody registers to show what happens without a shell.
struct ShellWindowClasses {
    const char *taskBar;
    const char *desktopIcons;
};
extern ShellWindowClasses shellWindowClasses;

// Child ids inside the task bar: the start button, and the notification area, whose own
// child of the same id is the clock.
enum { startButtonId = 304, notificationAreaId = 303, trayClockId = 303 };

// Each yields 0 when the window isn't there; the exports pass that on to the system.
HWND findTaskBar();
HWND findStartButton();
HWND findTrayClock();
HWND findDesktopIcons();
