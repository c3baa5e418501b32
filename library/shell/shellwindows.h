// Where the shell keeps the windows that the shell-element exports show and hide, from
// Windows 2000 to Windows 11. User32 only and no exports, so that any program of the
// product can compile the same lookups (to tell a user that an element is no separate
// window on the Windows at hand, say) instead of writing them again.
#pragma once
#include <windows.h>

// Window classes of the task bar and of the desktop-icons window. Tests point them at
// classes nobody registers to show what happens without a shell.
struct ShellWindowClasses {
    const char *taskBar;
    const char *desktopIcons;
};
extern ShellWindowClasses shellWindowClasses;

// The Windows 2000 and XP task bar's child ids: the start button, and the notification
// area, whose own child of the same id is the clock. Vista dropped both ids.
enum { startButtonId = 304, notificationAreaId = 303, trayClockId = 303 };

// The most secondary task bars (one per further monitor) that are looked at.
enum { maxSecondaryTaskBars = 16 };

// Each yields 0 when the shell at hand has no such window; each looks afresh, as the
// shell may have restarted since the last call.
HWND findTaskBar();
// The task bars of the other monitors ("Shell_SecondaryTrayWnd", Windows 8 on), at most
// `capacity` of them, into `bars`; returns how many were found. They belong to the main
// task bar: where there is none, callers leave them alone.
int findSecondaryTaskBars(HWND *bars, int capacity);
// Child 304 of the task bar; else, from Windows 8 on, its child of class "Start". The
// Windows 7 start orb is no child of the task bar and is not found; Windows 11's start
// button is drawn inside the task bar's XAML content, no window of its own.
HWND findStartButton();
// Child 303 of child 303; else "TrayClockWClass" inside "TrayNotifyWnd" (Vista to 10).
// Windows 11 draws its clock inside the task bar's XAML content.
HWND findTrayClock();
// The desktop-icons window: "Progman". Its child "SHELLDLL_DefView" holds the icons.
HWND findDesktopIcons();
// The icons' "SHELLDLL_DefView" when it lives outside `progman` (findDesktopIcons'
// window), under a "WorkerW" (as on Windows 7 to 11 once the desktop has shown an
// animated wallpaper change): hiding Progman then leaves the icons on the screen. 0 when
// the view is Progman's own child (hiding Progman hides it) or when there is none.
HWND findIconsOutsideProgman(HWND progman);
