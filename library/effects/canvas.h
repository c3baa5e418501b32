// The two surfaces of one effect call and the copies every routine is made of, so each
// routine reads as its geometry and nothing else.
#pragma once
#include <windows.h>

struct EffectCanvas {
    HDC source;
    int sourceX, sourceY;
    HDC destination;
    int destX, destY;
};

// Copies the w x h piece at (sx, sy) of the picture to (x, y) of the target rectangle.
// An empty piece (a zero-height drip step, a zero-wide rectangle) draws nothing.
inline void copyPiece(const EffectCanvas &canvas, int sx, int sy, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    BitBlt(canvas.destination, canvas.destX + x, canvas.destY + y, w, h, canvas.source, canvas.sourceX + sx,
           canvas.sourceY + sy, SRCCOPY);
}

inline void copyInPlace(const EffectCanvas &canvas, int x, int y, int w, int h)
{
    copyPiece(canvas, x, y, x, y, w, h);
}

// The whole picture in its place: what most effects end with.
inline void closingCopy(const EffectCanvas &canvas, int width, int height)
{
    copyInPlace(canvas, 0, 0, width, height);
}

inline int atLeast(int value, int floor)
{
    return value < floor ? floor : value;
}
