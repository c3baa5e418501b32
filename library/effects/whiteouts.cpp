// The two stand-alone window effects: a white line sweep and a random white-pixel erase.
// They bring nothing back; the window stays white until it repaints itself.
#include <cstdlib>
#include <ctime>

#include "exports.h"
#include "effects/effects.h"
#include "frame/dibheader.h"

int eraseDotCount(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 1;
    // 64-bit product: a window of 50000 x 50000 must not wrap to a negative count.
    const long long perPass = 2 * (static_cast<long long>(width) * height / 100) + 1;
    return perPass > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(perPass);
}

// One pass of white dots at random positions; `put` sets one dot.
template <typename PutDot> static void eraseDots(int width, int height, int dots, PutDot put)
{
    for (int i = 1; i < dots; ++i) {
        int x = rand() % width;
        int y = rand() % height;
        put(x, y);
        x = rand() % width;
        y = rand() % height;
        put(x, y);
    }
}

// A pass goes to the screen as one copy: drawn dot by dot on the window, a pass is
// thousands of separate screen requests, slow everywhere and, under Wine, enough to
// flood the X connection until Xlib aborts the process. Each pass starts from what the
// window shows at that moment, so the result is the same as drawing the dots there.
static bool eraseThroughCopy(HDC dc, int width, int height, int dots)
{
    HDC memory = CreateCompatibleDC(dc);
    if (!memory)
        return false;
    BITMAPINFO info = {};
    buildTopDownDib32Header(&info.bmiHeader, width, height);  // row y starts at y * width
    void *bits = NULL;
    HBITMAP copy = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!copy || !bits) {
        if (copy)
            DeleteObject(copy);
        DeleteDC(memory);
        return false;
    }
    HGDIOBJ previous = SelectObject(memory, copy);
    DWORD *pixels = static_cast<DWORD *>(bits);
    for (int pass = 0; pass < 100; ++pass) {
        BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        GdiFlush();
        eraseDots(width, height, dots,
                  [&](int x, int y) { pixels[static_cast<size_t>(y) * width + x] = 0x00FFFFFF; });
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        effectPause(1);
    }
    SelectObject(memory, previous);
    DeleteObject(copy);
    DeleteDC(memory);
    return true;
}

// The window's device context with its origin moved to the corner of the part of the
// window on the screen, so the effects below draw from (0, 0) over that part only.
static HDC onScreenDc(HWND window, const EffectArea &area, POINT *previousOrigin)
{
    HDC dc = GetWindowDC(window);
    if (dc)
        SetViewportOrgEx(dc, area.x, area.y, previousOrigin);
    return dc;
}

static void releaseOnScreenDc(HWND window, HDC dc, POINT previousOrigin)
{
    SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, NULL);
    ReleaseDC(window, dc);
}

extern "C" int KYCALL kyWindowErase(HWND window)
{
    EffectArea area;
    // The positions are remainders by the size: a window with no area gets nothing.
    if (!effectWindowArea(window, &area))
        return 1;
    const int width = area.width, height = area.height;
    POINT origin = {0, 0};
    HDC dc = onScreenDc(window, area, &origin);
    if (!dc)
        return 1;
    srand(static_cast<unsigned>(time(NULL)));
    const int dots = eraseDotCount(width, height);
    if (!eraseThroughCopy(dc, width, height, dots)) {
        // No memory for the copy: the dots go to the window one by one.
        const COLORREF white = RGB(255, 255, 255);
        for (int pass = 0; pass < 100; ++pass) {
            eraseDots(width, height, dots, [&](int x, int y) { SetPixelV(dc, x, y, white); });
            effectPause(1);
        }
    }
    releaseOnScreenDc(window, dc, origin);
    return 1;
}

extern "C" int KYCALL kyWindowD1(HWND window)
{
    EffectArea area;
    if (!effectWindowArea(window, &area))
        return 1;
    const int width = area.width, height = area.height;
    POINT origin = {0, 0};
    HDC dc = onScreenDc(window, area, &origin);
    if (!dc)
        return 1;
    HGDIOBJ previous = SelectObject(dc, GetStockObject(WHITE_PEN));
    // W + 1 lines: the last lies just right of the window and only costs its pause.
    for (int x = 0; x <= width; ++x) {
        MoveToEx(dc, x, 0, NULL);
        LineTo(dc, x, height);
        effectPause(10);
    }
    SelectObject(dc, previous);
    releaseOnScreenDc(window, dc, origin);
    return 1;
}
