// Interlace effects (0, 1): the picture builds up as ever denser one-pixel lines, one
// line out of every s per step, so it appears everywhere at once rather than from an edge.
#include "effects/canvas.h"
#include "effects/effects.h"

// Lines run across `along` (columns when `columns`), `across` is the other side.
static void interlace(const EffectCanvas &canvas, int width, int height, unsigned int pauseMs, int param,
                      bool columns)
{
    const int stride = atLeast(param, 2);
    const int lines = (columns ? width : height) / stride;
    for (int i = 0; i < stride; ++i) {
        for (int j = 0; j < lines; ++j) {
            const int at = i + j * stride;
            if (columns)
                copyInPlace(canvas, at, 0, 1, height);
            else
                copyInPlace(canvas, 0, at, width, 1);
        }
        effectPause(pauseMs);
    }
    // Also brings the last lines that no step reaches when the side is not a multiple.
    closingCopy(canvas, width, height);
}

bool effectColumnInterlace(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                           int height, unsigned int pauseMs, int param)
{
    interlace({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, true);
    return true;
}

bool effectRowInterlace(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                        int height, unsigned int pauseMs, int param)
{
    interlace({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, false);
    return true;
}
