// Machine-wide power and restart requests. The system calls go through a table so the
// request values can be checked without ever acting on the machine running the checks.
#pragma once
#include <windows.h>

struct PowerCalls {
    HANDLE(WINAPI *getCurrentProcess)(void);
    BOOL(WINAPI *openProcessToken)(HANDLE, DWORD, PHANDLE);
    BOOL(WINAPI *lookupPrivilegeValueA)(LPCSTR, LPCSTR, PLUID);
    BOOL(WINAPI *adjustTokenPrivileges)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    BOOL(WINAPI *closeHandle)(HANDLE);
    BOOL(WINAPI *exitWindowsEx)(UINT, DWORD);
    BOOL(WINAPI *setSystemPowerState)(BOOL, BOOL);
    HWND(WINAPI *getDesktopWindow)(void);
    LRESULT(WINAPI *sendMessageA)(HWND, UINT, WPARAM, LPARAM);
};
extern PowerCalls powerCalls;

// Forced restart: applications get no chance to refuse it.
enum : UINT { rebootFlags = EWX_REBOOT | EWX_FORCE };
// The monitor's low-power state (2 would switch it off).
enum : LPARAM { monitorLowPower = 1 };

// The one-entry request that enables the shutdown privilege identified by `luid`.
void buildShutdownPrivilege(TOKEN_PRIVILEGES *request, LUID luid);

// Enables the shutdown privilege on the process's own token. True when the system
// accepted the request; whether the token holds the privilege at all is left to the
// action that needs it, which the system then refuses.
bool enableShutdownPrivilege();
