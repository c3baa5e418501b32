// Memory surfaces for watching an effect: a source whose every pixel names its own
// position, a destination filled with a colour no source pixel has, and a pause hook
// that records the destination at every pause.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace fx {

struct Surface {
    HDC dc = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ previous = NULL;
    uint32_t *bits = nullptr;
    int width = 0, height = 0;
};

// A top-down 32-bit DIB section selected into its own memory context.
Surface makeSurface(int width, int height);
void freeSurface(Surface &surface);

// The colour of source pixel (x, y): red and green hold the low bytes, blue the high bits.
uint32_t codeOf(int x, int y);
// Never a source colour (blue of a code stays below 64).
constexpr uint32_t unpainted = 0x00FF00FF;

// A copy from the picture to the target rectangle, both relative to the rectangle's
// origin: what a step of an effect is made of.
struct Piece {
    int sx, sy, x, y, w, h;
};
inline Piece inPlace(int x, int y, int w, int h) { return {x, y, x, y, w, h}; }

// One effect call on coded surfaces with a margin round the rectangle, so pieces that
// fall outside it stay visible.
struct Playback {
    int margin = 64;
    int width = 0, height = 0;
    std::vector<std::vector<uint32_t>> frames;  // the destination at each pause
    std::vector<uint32_t> final;                // the destination after the call
    int pauses = 0;
    bool result = false;
};

// Plays `effect` through runBmpEffect. With `clearEachStep`, the destination is
// cleared after each pause, so every frame shows only what one step drew.
Playback observe(int effect, int width, int height, int param, bool clearEachStep, bool keepFrames = true);

// The destination image that `pieces` make on an unpainted surface of `run`'s size.
std::vector<uint32_t> expectedImage(const Playback &run, const std::vector<Piece> &pieces);
// Number of pixels where two images of `run`'s size differ; `first` gets the first one.
int countDifferences(const Playback &run, const std::vector<uint32_t> &a, const std::vector<uint32_t> &b,
                     POINT *first = nullptr);

}  // namespace fx
