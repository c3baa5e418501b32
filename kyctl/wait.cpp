// `wait`: until a window appears, closes or comes to the front, or the time is up. It
// looks every 50 ms and calls no export.
#include "platform.h"

namespace kyctl {

namespace {

enum { lookEveryMs = 50 };

// The window's line (or JSON), made while the window is there to be asked.
void describe(const Request &r, HWND window, Text *out)
{
    static char buffer[65536];
    static char pieces[65536];
    Text strings = textOver(pieces, sizeof pieces);
    *out = textOver(buffer, sizeof buffer);
    formatWindow(out, r.json, describeWindow(window, &strings));
}

}  // namespace

int runWait(const Request &r)
{
    DWORD start = GetTickCount();
    HWND seen = NULL;  // for --gone: the window that was there, reported when it has gone
    Text said = {};
    for (;;) {
        HWND window = NULL;
        int found = findWindows(r.target, &window, 1, true);
        bool happened = false;
        if (r.action == actWaitAppear) {
            happened = found > 0;
        } else if (r.action == actWaitGone) {
            if (found > 0 && window != seen) {
                // Described while it is there: once gone, nothing can be asked of it.
                seen = window;
                describe(r, window, &said);
            }
            happened = found == 0;
        } else {
            window = GetForegroundWindow();
            happened = selectorMatches(r.target, window);
        }
        if (happened) {
            if (r.action != actWaitGone) {
                describe(r, window, &said);
            } else if (!seen && r.json) {
                static char none[8];
                said = textOver(none, sizeof none);
                textPut(&said, "null\n");  // it was never there
            }
            if (said.used)
                writeText(STD_OUTPUT_HANDLE, said);
            return exitDone;
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(r.timeoutMs)) {
            const char *what = r.action == actWaitAppear ? "appear" : r.action == actWaitGone ? "close"
                                                                                               : "come to the front";
            if (r.target.kind == selHandle)
                say("wait: --hwnd 0x%llX: timed out after %d ms waiting for it to %s", r.target.number, r.timeoutMs,
                    what);
            else if (r.target.kind == selPid)
                say("wait: --pid %llu: timed out after %d ms waiting for its window to %s", r.target.number,
                    r.timeoutMs, what);
            else
                say("wait: %s \"%s\": timed out after %d ms waiting for it to %s", r.target.option, r.target.text,
                    r.timeoutMs, what);
            return exitFailed;
        }
        DWORD left = static_cast<DWORD>(r.timeoutMs) - elapsed;
        Sleep(left < DWORD(lookEveryMs) ? left : DWORD(lookEveryMs));
    }
}

}  // namespace kyctl
