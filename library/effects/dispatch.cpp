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
// for hours. Nothing beyond the screen's size can be seen at once: a larger window is
// played over a part of that size at its top-left corner.
static int withinScreen(int side, int screenSide)
{
    return screenSide > 0 && side > screenSide ? screenSide : side;
}

bool effectWindowSize(HWND window, int *width, int *height)
{
    RECT outer;
    if (!window || !IsWindow(window) || !GetWindowRect(window, &outer))
        return false;
    *width = withinScreen(outer.right - outer.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    *height = withinScreen(outer.bottom - outer.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return *width > 0 && *height > 0;
}
