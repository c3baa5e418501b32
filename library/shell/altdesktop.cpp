// An empty second desktop in the caller's window station, switched to and back by a
// pair of exports. Nothing runs there except what the caller starts, which makes it a
// clean stage for a kiosk screen or a secure prompt.
#include "exports.h"
#include "shell/altdesktop.h"

HDESK savedThreadDesktop;
HDESK savedInputDesktop;
HDESK altDesktop;

const char alternateDesktopName[] = "KYDesktopName";

extern "C" int KYCALL kyNewDesktopOn(void)
{
    // No step checks the one before: a desktop that can't be created leaves a zero
    // handle, the switch fails on it and the caller gets that failure.
    savedThreadDesktop = GetThreadDesktop(GetCurrentThreadId());
    savedInputDesktop = OpenInputDesktop(0, TRUE, DESKTOP_SWITCHDESKTOP);
    altDesktop = CreateDesktopA(alternateDesktopName, NULL, NULL, 0, GENERIC_ALL, NULL);
    SetThreadDesktop(altDesktop);  // refused while the thread owns windows; the switch still shows it
    return SwitchDesktop(altDesktop);
}

extern "C" int KYCALL kyNewDesktopOff(void)
{
    SwitchDesktop(savedInputDesktop);
    SetThreadDesktop(savedThreadDesktop);
    int closed = CloseDesktop(altDesktop);
    // The handles are spent: the opened input desktop is released rather than leaked,
    // and zeros make a repeated call fail cleanly instead of acting on stale handle
    // values that the system may have given to something else meanwhile.
    if (savedInputDesktop)
        CloseDesktop(savedInputDesktop);
    savedInputDesktop = NULL;
    savedThreadDesktop = NULL;
    altDesktop = NULL;
    return closed;
}
