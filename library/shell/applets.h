// Control-panel applets opened through the shell, and the system folder path. The shell
// calls are reached through a table so tests can plant results and failures; shell32
// itself is bound at the first call (frame/lazycalls.h).
#pragma once
#include <windows.h>

struct AppletCalls {
    HINSTANCE(WINAPI *shellExecuteA)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const char *folderFunction;  // "SHGetSpecialFolderPathA", looked up in shell32
};
extern AppletCalls appletCalls;

typedef BOOL(WINAPI *SHGetSpecialFolderPathAFn)(HWND, LPSTR, int, BOOL);

extern const char mouseApplet[];     // "main.cpl"
extern const char dateTimeApplet[];  // "timedate.cpl"
