// `desktop switch`: the alternate desktop for a while, and always a way back. kyctl's
// console stays on the user's desktop, where nobody sees it, so Ctrl+C there is no way
// back for the user: a hot key registered from the alternate desktop is. The switch back
// can be refused for a moment (the library allows another try), so it is tried again.
#include "platform.h"

namespace kyctl {

namespace {

// The switch back is tried this many times, this far apart, before giving up.
enum { switchBackTries = 10, switchBackPauseMs = 500 };

HANDLE stopSwitch, switchedBack;

BOOL WINAPI onConsoleControl(DWORD)
{
    // Ctrl+C, Ctrl+Break, the console closing: wake the main thread, which switches back
    // (the desktop pair must be called from one thread), and wait until it has.
    SetEvent(stopSwitch);
    WaitForSingleObject(switchedBack, 4000 + switchBackTries * switchBackPauseMs);
    return TRUE;
}

// Waits for the time, the hot key or the console's stop, whichever comes first.
void stayFor(int seconds, bool hotKey)
{
    DWORD start = GetTickCount(), limit = static_cast<DWORD>(seconds) * 1000u;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limit)
            return;
        DWORD woke = MsgWaitForMultipleObjects(1, &stopSwitch, FALSE, limit - elapsed, hotKey ? QS_HOTKEY : 0);
        if (woke != WAIT_OBJECT_0 + 1)
            return;  // the stop, the time, or a failed wait: back in every case
        MSG message;
        if (PeekMessageW(&message, NULL, WM_HOTKEY, WM_HOTKEY, PM_REMOVE))
            return;
    }
}

}  // namespace

int runDesktopSwitch(const Request &r, const KydoruExports &ky)
{
    stopSwitch = CreateEventW(NULL, TRUE, FALSE, NULL);
    switchedBack = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (!stopSwitch || !switchedBack || !SetConsoleCtrlHandler(onConsoleControl, TRUE))
        return failed(EXPORT_NAME(kyNewDesktopOn), GetLastError(), "not called: Ctrl+C could not be caught");
    DWORD onError = 0, offError = 0;
    int on = clearedCall(&onError, ky.kyNewDesktopOn);
    int off = 0, tries = 0;
    if (on) {
        // Registered now, from the alternate desktop: a hot key belongs to its thread's desktop.
        bool hotKey = RegisterHotKey(NULL, 1, wayBackModifiers, wayBackKey) != 0;
        if (hotKey)
            say("on the alternate desktop for %d s (%s there, or Ctrl+C here, returns)", r.seconds,
                KYCTL_WAY_BACK_KEYS);
        else
            say("on the alternate desktop for %d s (%s is taken: only Ctrl+C here returns)", r.seconds,
                KYCTL_WAY_BACK_KEYS);
        stayFor(r.seconds, hotKey);
        if (hotKey)
            UnregisterHotKey(NULL, 1);
        while (!off && tries < switchBackTries) {
            if (tries++)
                Sleep(switchBackPauseMs);
            off = clearedCall(&offError, ky.kyNewDesktopOff);
        }
    } else {
        ky.kyNewDesktopOff();  // a failed switch may have half happened
    }
    SetEvent(switchedBack);
    if (!on)
        return failed(EXPORT_NAME(kyNewDesktopOn), onError, "the alternate desktop could not be shown");
    if (!off) {
        return failed(EXPORT_NAME(kyNewDesktopOff), offError,
                      "still on the alternate desktop after %d tries over %d ms (Ctrl+Alt+Del, then sign out, "
                      "leaves it)",
                      tries, (tries - 1) * switchBackPauseMs);
    }
    if (tries > 1)
        say("back on the user's desktop at the %s's try %d", EXPORT_NAME(kyNewDesktopOff), tries);
    return exitDone;
}

}  // namespace kyctl
