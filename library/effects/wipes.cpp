// Strip wipes (2, 3): P-wide strips laid side by side from one edge across the picture.
#include "effects/canvas.h"
#include "effects/effects.h"

bool effectWipeFromLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                        int height, unsigned int pauseMs, int param)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    const int strip = atLeast(param, 1);
    for (int x = 0; x < width; x += strip) {
        copyInPlace(canvas, x, 0, strip, height);
        effectPause(pauseMs);
    }
    closingCopy(canvas, width, height);
    return true;
}

bool effectWipeFromRight(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                         int height, unsigned int pauseMs, int param)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    const int strip = atLeast(param, 1);
    if (width >= 0) {
        // The test follows the copy: the last strip starts left of the rectangle and
        // covers the odd columns at the left edge (or only costs its pause).
        int x = width;
        do {
            x -= strip;
            copyInPlace(canvas, x, 0, strip, height);
            effectPause(pauseMs);
        } while (x >= 0);
    }
    closingCopy(canvas, width, height);
    return true;
}
