// The effect table: effect numbers name routines, and any number picks one of them.
#include "effects/effects.h"

const EffectRoutine bmpEffectTable[effectCount] = {
    effectColumnInterlace, effectRowInterlace,      effectWipeFromLeft,    effectWipeFromRight,
    effectDripDown,        effectDripUp,            effectDripRight,       effectDripLeft,
    effectRandomBlocks,    effectBlockSpiral,       effectSqueezeFromLeft, effectSqueezeFromRight,
    effectSqueezeFromTop,  effectSqueezeFromBottom, effectSlideFromLeft,   effectSlideFromRight,
    effectSlideFromTop,    effectSlideFromBottom,   effectSlideFromTopLeft, effectSlideFromBottomLeft,
    effectCentreSplit,     effectGrowFromTopLeft,
};

const char *const bmpEffectNames[effectCount] = {
    "column interlace",  "row interlace",       "wipe from left",      "wipe from right",
    "drip down",         "drip up",             "drip right",          "drip left",
    "random blocks",     "block spiral",        "squeeze from left",   "squeeze from right",
    "squeeze from top",  "squeeze from bottom", "slide from left",     "slide from right",
    "slide from top",    "slide from bottom",   "slide from top-left", "slide from bottom-left",
    "centre split",      "grow from top-left",
};

bool runBmpEffect(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                  int height, unsigned int pauseMs, int param, int effect)
{
    if (effect < 0)
        effect = 0;
    if (effect > effectCount - 1)
        effect = effectCount - 1;
    return bmpEffectTable[effect](source, sourceX, sourceY, destination, destX, destY, width, height, pauseMs,
                                  param);
}

// Every effect's running time grows with the area it covers (the block spiral pauses
// once per block), so a window far larger than the screen would hold the caller's thread
// for hours. Nothing off the screen can be seen, so only the part on it is played.
bool visiblePart(const RECT &outer, const RECT &screen, EffectArea *area)
{
    // A screen with no size (no metrics to be had) limits nothing.
    RECT part = outer;
    if (screen.right > screen.left && screen.bottom > screen.top && !IntersectRect(&part, &outer, &screen))
        return false;
    if (part.right <= part.left || part.bottom <= part.top)
        return false;
    area->x = part.left - outer.left;
    area->y = part.top - outer.top;
    area->width = part.right - part.left;
    area->height = part.bottom - part.top;
    return true;
}

RECT virtualScreenRect()
{
    RECT screen;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return screen;
}

RECT primaryMonitorRect()
{
    RECT primary = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return primary;
}

bool effectWindowArea(HWND window, const RECT &screen, EffectArea *area)
{
    RECT outer;
    if (!window || !IsWindow(window) || !GetWindowRect(window, &outer))
        return false;
    return visiblePart(outer, screen, area);
}

bool effectWindowArea(HWND window, EffectArea *area)
{
    return effectWindowArea(window, virtualScreenRect(), area);
}
