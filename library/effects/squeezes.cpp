// Squeeze effects (10 to 13): the whole picture scaled into a band along one edge that
// grows by P per step. Each frame is composed off-screen so the destination never
// shows a half-scaled picture.
#include "effects/canvas.h"
#include "effects/effects.h"

enum SqueezeEdge { squeezeLeft, squeezeRight, squeezeTop, squeezeBottom };

static void squeeze(const EffectCanvas &canvas, int width, int height, unsigned int pauseMs, int param,
                    SqueezeEdge edge)
{
    const int growth = atLeast(param, 1);
    const bool horizontal = edge == squeezeLeft || edge == squeezeRight;
    // No scratch for an empty rectangle: a bitmap is never sized by zero.
    HDC scratch = width > 0 && height > 0 ? CreateCompatibleDC(canvas.destination) : NULL;
    HBITMAP frame = scratch ? CreateCompatibleBitmap(canvas.destination, width, height) : NULL;
    if (frame) {
        HGDIOBJ previous = SelectObject(scratch, frame);
        const int steps = (horizontal ? width : height) / growth + 1;
        for (int k = 1; k <= steps; ++k) {
            const int band = k * growth;
            int x = 0, y = 0, w = width, h = height;
            switch (edge) {
            case squeezeLeft: w = band; break;
            case squeezeRight: x = width - band; w = band; break;
            case squeezeTop: h = band; break;
            case squeezeBottom: y = height - band; h = band; break;
            }
            StretchBlt(scratch, x, y, w, h, canvas.source, canvas.sourceX, canvas.sourceY, width, height, SRCCOPY);
            BitBlt(canvas.destination, canvas.destX + x, canvas.destY + y, w, h, scratch, x, y, SRCCOPY);
            effectPause(pauseMs);
        }
        SelectObject(scratch, previous);
    }
    // Without a scratch surface the picture still arrives, all at once.
    closingCopy(canvas, width, height);
    if (scratch)
        DeleteDC(scratch);
    if (frame)
        DeleteObject(frame);
}

bool effectSqueezeFromLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                           int height, unsigned int pauseMs, int param)
{
    squeeze({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, squeezeLeft);
    return true;
}

bool effectSqueezeFromRight(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                            int height, unsigned int pauseMs, int param)
{
    squeeze({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, squeezeRight);
    return true;
}

bool effectSqueezeFromTop(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                          int height, unsigned int pauseMs, int param)
{
    squeeze({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, squeezeTop);
    return true;
}

bool effectSqueezeFromBottom(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                             int height, unsigned int pauseMs, int param)
{
    squeeze({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, squeezeBottom);
    return true;
}
