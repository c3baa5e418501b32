// The clock's drawing surface: a 32-bit top-down DIB section selected into a memory
// context, made once per activation and released when the clock window goes away.
// When any part can't be had the surface stays absent (surfaceBits null), and nothing
// draws into it or moves the window over it.
#include "clock/clock.h"
#include "frame/dibheader.h"

#include <string.h>

#if !defined(_WIN64)
static_assert(sizeof(BITMAPINFO) == 44, "the allocated header with its colour slot is 44 bytes");
static_assert(sizeof(BLENDFUNCTION) == 4, "BLENDFUNCTION is four bytes");
#endif

void buildClockSurfaceHeader(BITMAPINFOHEADER *header)
{
    buildTopDownDib32Header(header, clockSide, clockSide);
    header->biSizeImage = clockSurfaceBytes;
}

static void showOutOfMemory()
{
    MessageBoxA(NULL, "Out of memory.", "Error", MB_OK);
}

// Makes the DIB section and selects it into memoryDc; 1 when both worked.
static int makeSurface(ClockState &s)
{
    BITMAPINFO *header = static_cast<BITMAPINFO *>(LocalAlloc(LPTR, sizeof(BITMAPINFO)));
    if (!header) {
        showOutOfMemory();
        return 0;
    }
    buildClockSurfaceHeader(&header->bmiHeader);
    void *bits = NULL;
    HBITMAP surface = clockCreateDibSection(s.memoryDc, header, DIB_RGB_COLORS, &bits, NULL, 0);
    LocalFree(header);  // the section keeps its own copy of the format
    if (!surface || !bits) {
        if (surface)
            DeleteObject(surface);
        showOutOfMemory();
        return 0;
    }
    HGDIOBJ displaced = SelectObject(s.memoryDc, surface);
    if (!displaced || displaced == HGDI_ERROR) {
        DeleteObject(surface);
        showOutOfMemory();
        return 0;
    }
    s.surface = surface;
    s.displacedBitmap = displaced;
    s.surfaceBits = static_cast<unsigned char *>(bits);
    return 1;
}

int prepareClockSurface()
{
    ClockState &s = clockState;
    s.blend.BlendOp = AC_SRC_OVER;
    s.blend.BlendFlags = 0;
    s.blend.SourceConstantAlpha = 255;
    s.blend.AlphaFormat = AC_SRC_ALPHA;
    s.surfaceBits = NULL;
    s.screenDc = GetDC(NULL);
    s.memoryDc = CreateCompatibleDC(NULL);
    if (!s.memoryDc)
        return 0;
    if (!makeSurface(s))
        return 0;

    memset(s.surfaceBits, 0, clockSurfaceBytes);  // fully transparent until the first tick
    // Places the window at the remembered position (when that is still on a monitor),
    // still showing nothing. The colour key means nothing with ULW_ALPHA.
    s.clockOrigin = clockOpeningOrigin(s.clockOrigin);
    if (s.updateLayeredWindow)
        s.updateLayeredWindow(s.window, s.screenDc, &s.clockOrigin, &s.clockSize, s.memoryDc, &s.surfaceOrigin,
                              0xFFFF, &s.blend, ULW_ALPHA);
    return 1;
}

void releaseClockSurface()
{
    ClockState &s = clockState;
    s.surfaceBits = NULL;
    if (s.screenDc)
        ReleaseDC(NULL, s.screenDc);
    if (s.memoryDc) {
        if (s.displacedBitmap)
            SelectObject(s.memoryDc, s.displacedBitmap);
        DeleteDC(s.memoryDc);
    }
    if (s.surface)
        DeleteObject(s.surface);
    s.screenDc = NULL;
    s.memoryDc = NULL;
    s.surface = NULL;
    s.displacedBitmap = NULL;
}
