// The two stand-alone window effects: a white line sweep and a random white-pixel erase.
// They bring nothing back; the window stays white until it repaints itself.
#include <cstdlib>
#include <ctime>

#include "exports.h"
#include "effects/effects.h"

int eraseDotCount(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 1;
    // 64-bit product: a window of 50000 x 50000 must not wrap to a negative count.
    const long long perPass = 2 * (static_cast<long long>(width) * height / 100) + 1;
    return perPass > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(perPass);
}

extern "C" int KYCALL kyWindowErase(HWND window)
{
    int width, height;
    // The positions are remainders by the size: a window with no area gets nothing.
    if (!effectWindowSize(window, &width, &height))
        return 1;
    HDC dc = GetWindowDC(window);
    if (!dc)
        return 1;
    const COLORREF white = RGB(255, 255, 255);
    srand(static_cast<unsigned>(time(NULL)));
    const int dots = eraseDotCount(width, height);
    for (int pass = 0; pass < 100; ++pass) {
        for (int i = 1; i < dots; ++i) {
            int x = rand() % width;
            int y = rand() % height;
            SetPixelV(dc, x, y, white);
            x = rand() % width;
            y = rand() % height;
            SetPixelV(dc, x, y, white);
        }
        effectPause(1);
    }
    ReleaseDC(window, dc);
    return 1;
}

extern "C" int KYCALL kyWindowD1(HWND window)
{
    int width, height;
    if (!effectWindowSize(window, &width, &height))
        return 1;
    HDC dc = GetWindowDC(window);
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
    ReleaseDC(window, dc);
    return 1;
}
