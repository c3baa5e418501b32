// Drip effects (4 to 7): P-wide strips run in from one edge by random amounts per pass,
// so the picture seems to trickle in; the slowest strip decides how long it lasts.
#include <cstdlib>
#include <ctime>

#include "effects/canvas.h"
#include "effects/effects.h"

enum DripEdge { dripFromTop, dripFromBottom, dripFromLeft, dripFromRight };

static void drip(const EffectCanvas &canvas, int width, int height, unsigned int pauseMs, int param, DripEdge edge)
{
    const int strip = atLeast(param, 1);
    const bool rows = edge == dripFromLeft || edge == dripFromRight;
    const int length = rows ? width : height;  // how far each strip runs
    const int span = rows ? height : width;    // the side the strips lie along
    // A negative side would give no strips (or a negative count): nothing to animate.
    int *depth = span >= 0 && length >= 0 ? static_cast<int *>(calloc(span / strip + 1, sizeof(int))) : nullptr;
    if (!depth) {
        // Without the depth array the picture still arrives, all at once.
        closingCopy(canvas, width, height);
        return;
    }
    const int count = span / strip + 1;
    srand(static_cast<unsigned>(time(NULL)));
    bool done;
    do {
        done = true;
        for (int j = 0; j < count; ++j) {
            const int d = depth[j];
            if (d >= length)
                continue;
            const int step = rand() % 10;
            const int at = j * strip;
            switch (edge) {
            case dripFromTop: copyInPlace(canvas, at, d, strip, step); break;
            case dripFromBottom: copyInPlace(canvas, at, height - d - step, strip, step); break;
            case dripFromLeft: copyInPlace(canvas, d, at, step, strip); break;
            case dripFromRight: copyInPlace(canvas, width - d - step, at, step, strip); break;
            }
            depth[j] = d + step;
            done = false;
        }
        effectPause(pauseMs);
    } while (!done);
    free(depth);
}

bool effectDripDown(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                    int height, unsigned int pauseMs, int param)
{
    drip({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, dripFromTop);
    return true;
}

bool effectDripUp(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width, int height,
                  unsigned int pauseMs, int param)
{
    drip({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, dripFromBottom);
    return true;
}

bool effectDripRight(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                     int height, unsigned int pauseMs, int param)
{
    drip({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, dripFromLeft);
    return true;
}

bool effectDripLeft(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                    int height, unsigned int pauseMs, int param)
{
    drip({source, sourceX, sourceY, destination, destX, destY}, width, height, pauseMs, param, dripFromRight);
    return true;
}
