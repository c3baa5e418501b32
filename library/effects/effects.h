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

// Where an effect plays, in the coordinates of a window's device context: the origin
// and size of the part of the window that lies on the virtual screen.
struct EffectArea {
    int x, y;
    int width, height;
};

// The part of `outer` (screen coordinates) that lies on `screen`, relative to outer's
// top-left corner. An empty `screen` (the system gave none) cuts nothing. False when
// nothing of `outer` is left.
bool visiblePart(const RECT &outer, const RECT &screen, EffectArea *area);

// The virtual screen (every monitor) in screen coordinates.
RECT virtualScreenRect();
// The primary monitor in screen coordinates: its top-left corner is always (0, 0).
RECT primaryMonitorRect();

// The part of a live window's outer rectangle that is on `screen` (by default the virtual
// screen, so a window effect plays on whichever monitors the window is on): false for a
// handle that is not a window, a window with no area or one wholly off the screen, so that
// no effect ever sizes, divides or allocates by it. A maximized window reaches a few
// pixels beyond every edge of its screen; the part on the screen is played whole.
bool effectWindowArea(HWND window, EffectArea *area);
bool effectWindowArea(HWND window, const RECT &screen, EffectArea *area);

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
