// The transition effects share one routine shape, one dispatcher and one paced pause;
// this header gathers them so the exports, the tests and the gallery reach the same code.
#pragma once
#include <windows.h>

// Every effect routine: copy pieces of the width x height picture at (sourceX, sourceY)
// of `source` to (destX, destY) of `destination` step by step, pausing pauseMs between
// steps. `param` is the routine's P (strip count, strip width, block side or step).
typedef bool (*EffectRoutine)(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY,
                              int width, int height, unsigned int pauseMs, int param);

enum { effectCount = 22 };

// The routines in effect-number order.
extern const EffectRoutine bmpEffectTable[effectCount];
// Names shown to people (the gallery, the benchmark), in the same order.
extern const char *const bmpEffectNames[effectCount];

// Plays effect number `effect` (below 0 counts as 0, above 21 as 21).
bool runBmpEffect(HDC source, int sourceX, int sourceY, HDC destination, int destX, int destY, int width,
                  int height, unsigned int pauseMs, int param, int effect);

// Waits until the tick count has moved by more than `ms`, dispatching the thread's
// messages meanwhile; 0 returns at once without looking at the queue.
void effectPause(unsigned int ms);

// Null in normal use. Code linking the library statically (tests, the gallery) may set
// it to watch the destination at every pause; it is called first, with the pause length.
extern void (*effectPauseHook)(unsigned int ms);

// The outer size of a live window, each side at most the screen's: false for a handle
// that is not a window or a window with no area, so that no effect ever sizes, divides or
// allocates by it.
bool effectWindowSize(HWND window, int *width, int *height);

// Pure geometry kept apart from the drawing.
typedef void (*BlockVisitor)(void *context, int x, int y);
// Walks the block spiral of effect 9 over a width x height rectangle with blocks of
// side `block`, visiting each block position in drawing order; returns the block count.
int spiralWalk(int width, int height, int block, BlockVisitor visit, void *context);
// Pixels per pass of the random white erase: 2 * (width * height / 100) + 1.
int eraseDotCount(int width, int height);

bool effectColumnInterlace(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectRowInterlace(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectWipeFromLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectWipeFromRight(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectDripDown(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectDripUp(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectDripRight(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectDripLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectRandomBlocks(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectBlockSpiral(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSqueezeFromLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSqueezeFromRight(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSqueezeFromTop(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSqueezeFromBottom(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromRight(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromTop(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromBottom(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromTopLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectSlideFromBottomLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectCentreSplit(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
bool effectGrowFromTopLeft(HDC, int, int, HDC, int, int, int, int, unsigned int, int);
