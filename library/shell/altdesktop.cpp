// An empty second desktop in the caller's window station, switched to and back by a
// pair of exports. Nothing runs there except what the caller starts, which makes it a
// clean stage for a kiosk screen or a secure prompt.
#include "exports.h"
#include "shell/altdesktop.h"

HDESK savedThreadDesktop;
HDESK savedInputDesktop;
HDESK altDesktop;

const char alternateDesktopName[] = "KYDesktopName";

DesktopCalls desktopCalls = {SwitchDesktop, SetThreadDesktop, CloseDesktop};

extern "C" int KYCALL kyNewDesktopOn(void)
{
    // One alternate desktop at a time: a second switch would lose the way back.
    if (altDesktop)
        return 0;
    HDESK thread = GetThreadDesktop(GetCurrentThreadId());
    HDESK input = OpenInputDesktop(0, TRUE, DESKTOP_SWITCHDESKTOP);
    HDESK alternate = thread && input ? CreateDesktopA(alternateDesktopName, NULL, NULL, 0, GENERIC_ALL, NULL) : NULL;
    // The screen is switched only when the caller goes along: a thread that owns windows
    // can't be moved, and switching anyway would leave the user before an empty screen
    // while the caller runs on where nobody sees it.
    bool moved = alternate && desktopCalls.setThreadDesktop(alternate);
    if (moved && !desktopCalls.switchDesktop(alternate)) {
        desktopCalls.setThreadDesktop(thread);
        moved = false;
    }
    if (!moved) {
        if (alternate)
            desktopCalls.closeDesktop(alternate);
        if (input)
            desktopCalls.closeDesktop(input);
        return 0;
    }
    savedThreadDesktop = thread;  // the thread's own desktop: not ours to close
    savedInputDesktop = input;
    altDesktop = alternate;
    return 1;
}

extern "C" int KYCALL kyNewDesktopOff(void)
{
    if (!altDesktop)
        return 0;
    // Each handle is kept until its step has succeeded, so a failed call can be made
    // again and still finds its way back.
    if (savedInputDesktop) {
        if (!desktopCalls.switchDesktop(savedInputDesktop))
            return 0;
        desktopCalls.closeDesktop(savedInputDesktop);
        savedInputDesktop = NULL;
    }
    if (savedThreadDesktop) {
        // Refused while the thread owns windows on the alternate desktop.
        if (!desktopCalls.setThreadDesktop(savedThreadDesktop))
            return 0;
        savedThreadDesktop = NULL;
    }
    if (!desktopCalls.closeDesktop(altDesktop))
        return 0;
    altDesktop = NULL;
    return 1;
}
