// Block effects (8, 9): the picture arrives in P x P blocks, either at random places or
// along a clockwise spiral from the edge inwards.
#include <cstdlib>
#include <ctime>

#include "effects/canvas.h"
#include "effects/effects.h"

bool effectRandomBlocks(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                        int height, unsigned int pauseMs, int param)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    const int block = atLeast(param, 4);
    // A negative side would leave no block column or row to draw a remainder by.
    if (width >= 0 && height >= 0) {
        const int cols = width / block + 1, rows = height / block + 1;
        srand(static_cast<unsigned>(time(NULL)));
        for (int n = cols * rows; n >= 1; --n) {
            const int cx = rand() % cols;
            const int cy = rand() % rows;
            copyInPlace(canvas, cx * block, cy * block, block, block);
            if (n % 10 == 0)
                effectPause(pauseMs);
        }
    }
    // Blocks are drawn with replacement: this fills the ones never drawn.
    closingCopy(canvas, width, height);
    return true;
}

int spiralWalk(int width, int height, int block, BlockVisitor visit, void *context)
{
    if (block < 1)
        return 0;
    const int cols = width / block + 1, rows = height / block + 1, rings = rows / 2;
    int visited = 0;
    auto at = [&](int x, int y) {
        visit(context, x, y);
        ++visited;
    };
    for (int r = 0; r < rings; ++r) {
        const int k = rows - r;
        // Top and left runs follow the grid from the top-left corner; right and bottom
        // runs are placed from the far edges, and every run restarts at its edge.
        if (cols - r > 0)
            for (int j = 0; j <= cols - r - 1; ++j)
                at(j * block, r * block);
        for (int j = 0; j <= k - 1; ++j)
            at(width - block - r * block, j * block);
        if (cols - r >= 0)
            for (int j = 0; j <= cols - r; ++j)
                at((cols - 1 - r) * block - j * block, height - block - r * block);
        for (int j = 0; j <= k; ++j)
            at(r * block, (rows - 1 - r) * block - j * block);
    }
    return visited;
}

struct SpiralDraw {
    const EffectCanvas *canvas;
    int block;
    unsigned int pauseMs;
};

static void drawSpiralBlock(void *context, int x, int y)
{
    const SpiralDraw *draw = static_cast<const SpiralDraw *>(context);
    copyInPlace(*draw->canvas, x, y, draw->block, draw->block);
    effectPause(draw->pauseMs);
}

bool effectBlockSpiral(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                       int height, unsigned int pauseMs, int param)
{
    const EffectCanvas canvas = {source, sourceX, sourceY, destination, destX, destY};
    SpiralDraw draw = {&canvas, atLeast(param, 4), pauseMs};
    spiralWalk(width, height, draw.block, drawSpiralBlock, &draw);
    closingCopy(canvas, width, height);
    return true;
}
