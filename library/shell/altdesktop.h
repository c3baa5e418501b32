// The handles that carry the alternate desktop from kyNewDesktopOn to kyNewDesktopOff.
// One alternate desktop per process: a second kyNewDesktopOn overwrites all three.
#pragma once
#include <windows.h>

extern HDESK savedThreadDesktop;  // the calling thread's desktop before the switch
extern HDESK savedInputDesktop;   // the desktop that had the input before the switch
extern HDESK altDesktop;          // the empty desktop switched to

extern const char alternateDesktopName[];  // "KYDesktopName"
