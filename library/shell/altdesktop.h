// The handles that carry the alternate desktop from kyNewDesktopOn to kyNewDesktopOff.
// One alternate desktop per process: altDesktop is set while it is on.
#pragma once
#include <windows.h>

extern HDESK savedThreadDesktop;  // the calling thread's desktop before the switch, until it is back there
extern HDESK savedInputDesktop;   // the desktop that had the input before the switch, until input is back
extern HDESK altDesktop;          // the empty desktop switched to, until it is closed

extern const char alternateDesktopName[];  // "KYDesktopName"

// The desktop calls whose failure changes the way back, replaceable by tests so each
// can be made to fail.
struct DesktopCalls {
    BOOL(WINAPI *switchDesktop)(HDESK);
    BOOL(WINAPI *setThreadDesktop)(HDESK);
    BOOL(WINAPI *closeDesktop)(HDESK);
};
extern DesktopCalls desktopCalls;
