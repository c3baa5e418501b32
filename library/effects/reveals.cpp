// The two single effects: strips spreading from the centre (20), and the picture
// uncovered in place from the top-left corner (21).
#include "effects/canvas.h"
#include "effects/effects.h"

bool effectCentreSplit(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                       int height, unsigned int pauseMs, int)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    const int strip = width / 40, centre = width / 2;
    for (int k = 1; k <= 20; ++k) {
        // Left of the centre: the picture's left-edge strip again and again; right of
        // it: strips taken from the right edge inwards.
        copyPiece(canvas, 0, 0, centre - k * strip, 0, strip, height);
        copyPiece(canvas, width - k * strip, 0, centre + k * strip, 0, strip, height);
        effectPause(pauseMs);
    }
    closingCopy(canvas, width, height);
    return true;
}

bool effectGrowFromTopLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                           int height, unsigned int pauseMs, int param)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    // P is the step count; fewer than one step would divide by zero.
    const int steps = atLeast(param, 1);
    const int stepX = width / steps, stepY = height / steps;
    for (int k = 1; k <= steps; ++k) {
        copyInPlace(canvas, 0, 0, k * stepX, k * stepY);
        effectPause(pauseMs);
    }
    closingCopy(canvas, width, height);
    return true;
}
