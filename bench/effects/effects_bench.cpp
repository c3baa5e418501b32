// How long the effects draw, apart from their pauses: per effect on a 1024 x 768
// rectangle with pauses of 0, the steps, the total drawing time and the time per step,
// on memory surfaces and on a window of the screen; then how long effectPause(1) lasts.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "effects/effects.h"
#include "../benchclock.h"

namespace {

int steps = 0;
void countStep(unsigned int) { ++steps; }

HBITMAP picture(HDC dc, int width, int height)
{
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    for (int y = 0; y < height; y += 16) {
        HBRUSH brush = CreateSolidBrush(RGB(y % 256, (y * 3) % 256, 255 - y % 256));
        RECT band = {0, y, width, y + 16};
        FillRect(memory, &band, brush);
        DeleteObject(brush);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);
    return bitmap;
}

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Plays every effect from `source` onto `target` and prints one row per effect.
void measure(const char *where, HDC source, HDC target, int width, int height)
{
    printf("\n%s, %d x %d, pauses of 0\n", where, width, height);
    printf("%-3s %-24s %7s %11s %13s\n", "no", "effect", "steps", "total ms", "ms per step");
    effectPauseHook = countStep;
    for (int effect = 0; effect < effectCount; ++effect) {
        steps = 0;
        const double start = nowMs();
        runBmpEffect(source, 0, 0, target, 0, 0, width, height, 0, 20, effect);
        GdiFlush();
        const double total = nowMs() - start;
        printf("%-3d %-24s %7d %11.1f %13.3f\n", effect, bmpEffectNames[effect], steps, total,
               steps ? total / steps : 0.0);
    }
    effectPauseHook = nullptr;
}

}  // namespace

int main()
{
    const int width = 1024, height = 768;
    HDC screen = GetDC(NULL);
    HBITMAP sourceBitmap = picture(screen, width, height);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, width, height);
    HDC source = CreateCompatibleDC(screen), target = CreateCompatibleDC(screen);
    HGDIOBJ oldSource = SelectObject(source, sourceBitmap), oldTarget = SelectObject(target, targetBitmap);

    measure("memory surfaces", source, target, width, height);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = plainProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "kyEffectsBench";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("kyEffectsBench", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, NULL, NULL,
                                wc.hInstance, NULL);
    if (window) {
        HDC windowDc = GetWindowDC(window);
        measure("window on the screen", source, windowDc, width, height);
        ReleaseDC(window, windowDc);
        DestroyWindow(window);
    }

    SelectObject(target, oldTarget);
    SelectObject(source, oldSource);
    DeleteDC(target);
    DeleteDC(source);
    DeleteObject(targetBitmap);
    DeleteObject(sourceBitmap);
    ReleaseDC(NULL, screen);

    std::vector<double> pauses;
    for (int i = 0; i < 200; ++i) {
        const double start = nowMs();
        effectPause(1);
        pauses.push_back(nowMs() - start);
    }
    std::sort(pauses.begin(), pauses.end());
    printf("\neffectPause(1) over 200 pauses: median %.2f ms, min %.2f, 10%% %.2f, 90%% %.2f, max %.2f ms\n",
           pauses[100], pauses.front(), pauses[20], pauses[180], pauses.back());
    return 0;
}
