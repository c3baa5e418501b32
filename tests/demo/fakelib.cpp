// A stand-in kydoru.dll for driving the demo without touching the machine: each export
// the demo binds only appends its name and arguments to calls.log beside the DLL, so a
// test can check which exports a control calls, with which values and in which order.
// Built twice: complete, and without kyProcSpeed to see the demo report a missing export.
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "../../demo/controls.h"

#define FAKE extern "C" __declspec(dllexport)

namespace {

HMODULE self;

void record(const char *format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    int length = vsnprintf(line, sizeof line - 2, format, args);
    va_end(args);
    if (length < 0)
        return;
    if (length > static_cast<int>(sizeof line) - 3)
        length = sizeof line - 3;
    line[length++] = '\r';
    line[length++] = '\n';

    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = strrchr(path, '\\');
    if (!slash)
        return;
    strcpy(slash + 1, "calls.log");
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line, static_cast<DWORD>(length), &written, NULL);
    CloseHandle(log);
}

unsigned long long handleValue(HWND window)
{
    return static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window));
}

int clockOn;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

FAKE void kySetCapsLock(int wanted) { record("kySetCapsLock %d", wanted); }
FAKE void kySetNumLock(int wanted) { record("kySetNumLock %d", wanted); }
FAKE int kyFlashWindow(HWND window, unsigned int count)
{
    record("kyFlashWindow %llu %u", handleValue(window), count);
    return 1;
}
FAKE int kyHideTaskBar(void) { record("kyHideTaskBar"); return 0; }
FAKE int kyShowTaskBar(void) { record("kyShowTaskBar"); return 0; }
FAKE int kyHideStartButton(void) { record("kyHideStartButton"); return 0; }
FAKE int kyShowStartButton(void) { record("kyShowStartButton"); return 0; }
FAKE int kyHideSystemClock(void) { record("kyHideSystemClock"); return 0; }
FAKE int kyShowSystemClock(void) { record("kyShowSystemClock"); return 0; }
FAKE int kyHideDesktopIcons(void) { record("kyHideDesktopIcons"); return 0; }
FAKE int kyShowDesktopIcons(void) { record("kyShowDesktopIcons"); return 0; }

// Distinct values show that the demo puts each one in its own label.
FAKE int kyGetCurrentVideoMode(int *bits, int *width, int *height, int *rate)
{
    record("kyGetCurrentVideoMode");
    *bits = 16;
    *width = 640;
    *height = 480;
    *rate = -75;
    return 1;
}

FAKE int kyChangeVideoModePermanently(int a, int b, int c, int d)
{
    record("kyChangeVideoModePermanently %d %d %d %d", a, b, c, d);
    return 0;
}
FAKE int kyRemoveWindowTrans(HWND window) { record("kyRemoveWindowTrans %llu", handleValue(window)); return 1; }
FAKE int kySetWTransparent(HWND window, int alpha)
{
    record("kySetWTransparent %llu %d", handleValue(window), alpha);
    return 1;
}
FAKE int kyPerformReboot(void) { record("kyPerformReboot"); return 0; }
FAKE LRESULT kyMonitorOff(HWND window) { record("kyMonitorOff %llu", handleValue(window)); return 0; }
FAKE int kySystemPowerSuspend(void) { record("kySystemPowerSuspend"); return 0; }
FAKE int kySystemPowerHibernate(void) { record("kySystemPowerHibernate"); return 0; }
FAKE INT_PTR kySystemDialogMP(void) { record("kySystemDialogMP"); return 42; }
FAKE INT_PTR kySystemDialogTD(void) { record("kySystemDialogTD"); return 42; }

// Writes as much as the real export may: a 259-character path and its terminator.
FAKE void kyGetWSPath(char *buffer)
{
    memset(buffer, 'P', 259);
    buffer[259] = 0;
    record("kyGetWSPath");
}

// Model: bytes after an embedded zero; serial: a plain text; revision: nothing found.
FAKE int kyHDid(int drive, int kind, char *buffer)
{
    record("kyHDid %d %d", drive, kind);
    if (kind == 1) {
        memcpy(buffer, "AB\0CD", 5);
        return 1;
    }
    if (kind == 2) {
        memcpy(buffer, "S1", 2);
        return 1;
    }
    return 0;
}

#ifndef KYFAKE_WITHOUT_PROCSPEED
FAKE unsigned int kyProcSpeed(void) { record("kyProcSpeed"); return 2400; }
#endif

FAKE int kyWindowBmpEffect(HWND window, int effect, int blank)
{
    record("kyWindowBmpEffect %llu %d %d", handleValue(window), effect, blank);
    return 1;
}
FAKE int kyDesktopBmpEffect(int effect, int blank) { record("kyDesktopBmpEffect %d %d", effect, blank); return 1; }

// Also notes the status line as it reads when the picture is wiped.
FAKE int kyWindowD1(HWND window)
{
    char status[128] = "";
    GetDlgItemTextA(GetParent(window), idLabel19, status, sizeof status);
    record("kyWindowD1 %d [%s]", GetDlgCtrlID(window), status);
    return 1;
}
FAKE int kyWindowErase(HWND window) { record("kyWindowErase %llu", handleValue(window)); return 1; }

// Like the real clock: the first call runs a message loop until a second call, made
// from a handler that loop dispatched, switches it off.
FAKE int kySoftClock(int state)
{
    record("kySoftClock %d", state);
    if (clockOn) {
        clockOn = 0;
        return 0;
    }
    clockOn = 1;
    MSG msg;
    while (clockOn && GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    record("kySoftClock returns");
    return 0;
}

FAKE int kyLogo(void) { record("kyLogo"); return 0; }
