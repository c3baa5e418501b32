// Flashing a window's caption and task-bar button to draw the user's eye. FlashWindowEx
// is looked up at each call; where it is missing the caller is told nothing flashed.
#include "exports.h"
#include "display/appearance.h"

#include <string.h>

#if !defined(_WIN64)
static_assert(sizeof(FLASHWINFO) == 20, "the flash request is 20 bytes on 32-bit Windows");
#endif

void buildFlashRequest(FLASHWINFO *request, HWND window, UINT count)
{
    memset(request, 0, sizeof *request);
    request->cbSize = sizeof *request;
    request->hwnd = window;
    request->dwFlags = FLASHW_ALL | FLASHW_TIMER;
    request->uCount = count;
    request->dwTimeout = 0;  // the cursor blink rate
}

extern "C" int KYCALL kyFlashWindow(HWND window, unsigned int count)
{
    FLASHWINFO request;
    buildFlashRequest(&request, window, count);
    int result = 0;
    HMODULE user32 = LoadLibraryA(appearanceLookup.module);
    auto flash = user32 ? reinterpret_cast<FlashWindowExFn>(GetProcAddress(user32, appearanceLookup.flashWindowEx))
                        : nullptr;
    if (flash)
        result = flash(&request);
    if (user32)
        FreeLibrary(user32);
    return result;
}
