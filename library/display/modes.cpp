// The display-mode exports: read the primary screen's mode and switch to the library's
// fixed modes. The system's own change code is returned unchanged, so 0 means success.
#include "exports.h"
#include "display/displaymode.h"

static int requestMode(DWORD width, DWORD height, DWORD flags)
{
    DEVMODEA mode;
    buildDisplayMode(&mode, 32, width, height, 0);
    return ChangeDisplaySettingsA(&mode, flags);
}

extern "C" int KYCALL kyGetCurrentVideoMode(int *bitsPerPixel, int *width, int *height, int *refreshRate)
{
    HDC screen = GetDC(NULL);
    if (!screen)
        return 0;
    *bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    *width = GetDeviceCaps(screen, HORZRES);
    *height = GetDeviceCaps(screen, VERTRES);
    *refreshRate = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(NULL, screen);
    return 1;
}

extern "C" int KYCALL kyCanChangeVideoMode(void)
{
    return requestMode(1024, 768, CDS_TEST);
}

extern "C" int KYCALL kyChangeVideoModeTemporarily(void)
{
    return requestMode(1024, 768, 0);
}

extern "C" int KYCALL kyChangeVideoModePermanently(void)
{
    return requestMode(1024, 768, CDS_UPDATEREGISTRY);
}

extern "C" int KYCALL kyFullScreen(void)
{
    return requestMode(800, 600, CDS_FULLSCREEN);
}

extern "C" int KYCALL kyCancelFullScreen(void)
{
    // Back to the stored mode; a failing restore must not keep the cursor hidden.
    ChangeDisplaySettingsA(NULL, 0);
    return ShowCursor(TRUE);
}
