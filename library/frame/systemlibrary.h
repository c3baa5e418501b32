// Loading a system DLL only from the system directory, never through the search path:
// a DLL of the same name planted beside the calling program or in its current folder
// must not be picked up.
#pragma once
#include <windows.h>

// Loads `file` ("msimg32.dll") from the system directory; null when the path can't be
// made or the library can't be loaded there. The caller owns the reference it returns.
HMODULE loadSystemLibrary(const char *file);
