// Slides (14 to 19): the picture moves in from an edge or a corner, the part already
// inside keeping its shape, until the closing copy sets it in its place.
#include "effects/canvas.h"
#include "effects/effects.h"

enum SlideEdge { fromLeft, fromRight, fromTop, fromBottom };

static void edgeSlide(const EffectCanvas &canvas, int width, int height, unsigned int pauseMs, int param,
                      SlideEdge edge)
{
    // A step below 1 would never advance (or divide by zero); the exports pass 20.
    const int advance = atLeast(param, 1);
    const bool horizontal = edge == fromLeft || edge == fromRight;
    const int steps = (horizontal ? width : height) / advance;
    for (int k = 1; k <= steps; ++k) {
        const int shown = k * advance;
        switch (edge) {
        case fromLeft: copyPiece(canvas, width - shown, 0, 0, 0, shown, height); break;
        case fromRight: copyPiece(canvas, 0, 0, width - shown, 0, shown, height); break;
        case fromTop: copyPiece(canvas, 0, height - shown, 0, 0, width, shown); break;
        case fromBottom: copyPiece(canvas, 0, 0, 0, height - shown, width, shown); break;
        }
        effectPause(pauseMs);
    }
    // The picture stopped (side mod P) pixels short of its place.
    closingCopy(canvas, width, height);
}

// A square growing in a corner shows the diagonally opposite corner of the picture.
static void cornerSlide(const EffectCanvas &canvas, int width, int height, unsigned int pauseMs, int param,
                        bool fromBottomLeft)
{
    const int growth = atLeast(param, 1);
    const int longer = width > height ? width : height;
    for (int side = growth; side < longer; side += growth) {
        const int sx = atLeast(width - side, 0);
        if (fromBottomLeft)
            copyPiece(canvas, sx, 0, 0, height - (side < height ? side : height), side, side);
        else
            copyPiece(canvas, sx, atLeast(height - side, 0), 0, 0, side, side);
        effectPause(pauseMs);
    }
    closingCopy(canvas, width, height);
}

bool effectSlideFromLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                         int height, unsigned int pauseMs, int param)
{
    edgeSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, fromLeft);
    return true;
}

bool effectSlideFromRight(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                          int height, unsigned int pauseMs, int param)
{
    edgeSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, fromRight);
    return true;
}

bool effectSlideFromTop(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                        int height, unsigned int pauseMs, int param)
{
    edgeSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, fromTop);
    return true;
}

bool effectSlideFromBottom(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                           int height, unsigned int pauseMs, int param)
{
    edgeSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, fromBottom);
    return true;
}

bool effectSlideFromTopLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                            int height, unsigned int pauseMs, int param)
{
    cornerSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, false);
    return true;
}

bool effectSlideFromBottomLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY,
                               int width, int height, unsigned int pauseMs, int param)
{
    cornerSlide({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, true);
    return true;
}
