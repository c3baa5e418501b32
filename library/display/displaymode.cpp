// Builds the display-mode request that every mode switch of the library sends.
#include "display/displaymode.h"

#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(DEVMODEA) == 156, "the display-mode record is 156 bytes on 32-bit Windows");
#endif

void buildDisplayMode(DEVMODEA *mode, DWORD bitsPerPixel, DWORD width, DWORD height, DWORD refreshRate)
{
    memset(mode, 0, sizeof *mode);
    mode->dmSize = sizeof *mode;
    if (bitsPerPixel) {
        mode->dmBitsPerPel = bitsPerPixel;
        mode->dmFields |= DM_BITSPERPEL;
    }
    if (width) {
        mode->dmPelsWidth = width;
        mode->dmFields |= DM_PELSWIDTH;
    }
    if (height) {
        mode->dmPelsHeight = height;
        mode->dmFields |= DM_PELSHEIGHT;
    }
    if (refreshRate) {
        mode->dmDisplayFrequency = refreshRate;
        mode->dmFields |= DM_DISPLAYFREQUENCY;
    }
}
