// kyctl's platform layer: kydoru.dll loaded from kyctl's own folder, windows found by
// selector, and the requests carried out through the bound exports.
#pragma once
#include <windows.h>

#include "cli.h"
#include "exportbind.h"

namespace kyctl {

// Loads kydoru.dll from the folder of kyctl.exe and binds every export of the table.
// On failure prints one line naming what is missing and returns false (exit 3).
bool bindLibrary(KydoruExports *out);

enum { maxWindows = 256 };
// The windows a selector names, topmost first. On none prints one line saying which
// selector matched nothing and returns 0.
int findWindows(const Selector &selector, HWND *out, int room);

// The system's text for an error code, without the closing line break.
void systemErrorText(DWORD code, char *out, size_t size);

// Carries out a parsed request with the bound exports; returns the exit code.
int run(const Request &request, const KydoruExports &ky);

}  // namespace kyctl
