// The display-mode request record, built apart from the calls that use it so its
// exact bytes can be checked.
#pragma once
#include <windows.h>

// Fills `mode` with a zeroed DEVMODEA of the platform's full size; every non-zero
// argument sets its field and the matching dmFields flag, a zero keeps the current value.
void buildDisplayMode(DEVMODEA *mode, DWORD bitsPerPixel, DWORD width, DWORD height, DWORD refreshRate);
