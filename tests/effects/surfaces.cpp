// Coded memory surfaces and the recording pause hook used by the effect tests.
#include "surfaces.h"

#include "effects/effects.h"
#include "frame/dibheader.h"

namespace fx {

Surface makeSurface(int width, int height)
{
    Surface surface;
    BITMAPINFO info = {};
    buildTopDownDib32Header(&info.bmiHeader, width, height);
    void *bits = nullptr;
    surface.dc = CreateCompatibleDC(NULL);
    surface.bitmap = CreateDIBSection(surface.dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    surface.previous = SelectObject(surface.dc, surface.bitmap);
    surface.bits = static_cast<uint32_t *>(bits);
    surface.width = width;
    surface.height = height;
    return surface;
}

void freeSurface(Surface &surface)
{
    SelectObject(surface.dc, surface.previous);
    DeleteObject(surface.bitmap);
    DeleteDC(surface.dc);
    surface = Surface();
}

uint32_t codeOf(int x, int y)
{
    return (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | uint32_t((x >> 8) & 7) |
           (uint32_t((y >> 8) & 7) << 3);
}

namespace {

Surface *watched = nullptr;
Playback *recording = nullptr;
bool clearing = false, keeping = true;

void fill(Surface &surface, uint32_t colour)
{
    GdiFlush();
    for (int i = 0; i < surface.width * surface.height; ++i)
        surface.bits[i] = colour;
}

void recordPause(unsigned int)
{
    GdiFlush();
    ++recording->pauses;
    if (keeping)
        recording->frames.emplace_back(watched->bits, watched->bits + watched->width * watched->height);
    if (clearing)
        fill(*watched, unpainted);
}

}  // namespace

Playback observe(int effect, int width, int height, int param, bool clearEachStep, bool keepFrames)
{
    Playback run;
    run.width = width;
    run.height = height;
    const int w = (width > 0 ? width : 0) + 2 * run.margin, h = (height > 0 ? height : 0) + 2 * run.margin;
    Surface source = makeSurface(w, h), destination = makeSurface(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            source.bits[y * w + x] = codeOf(x, y);
    fill(destination, unpainted);
    watched = &destination;
    recording = &run;
    clearing = clearEachStep;
    keeping = keepFrames;
    effectPauseHook = recordPause;
    run.result = runBmpEffect(source.dc, run.margin, run.margin, destination.dc, run.margin, run.margin, width,
                              height, 0, param, effect);
    effectPauseHook = nullptr;
    GdiFlush();
    run.final.assign(destination.bits, destination.bits + w * h);
    freeSurface(destination);
    freeSurface(source);
    return run;
}

std::vector<uint32_t> expectedImage(const Playback &run, const std::vector<Piece> &pieces)
{
    const int w = (run.width > 0 ? run.width : 0) + 2 * run.margin;
    const int h = (run.height > 0 ? run.height : 0) + 2 * run.margin;
    std::vector<uint32_t> image(size_t(w) * h, unpainted);
    for (const Piece &p : pieces) {
        for (int j = 0; j < p.h; ++j) {
            for (int i = 0; i < p.w; ++i) {
                const int sx = run.margin + p.sx + i, sy = run.margin + p.sy + j;
                const int dx = run.margin + p.x + i, dy = run.margin + p.y + j;
                // Clipped on both surfaces, as GDI clips a copy.
                if (sx < 0 || sy < 0 || sx >= w || sy >= h || dx < 0 || dy < 0 || dx >= w || dy >= h)
                    continue;
                image[size_t(dy) * w + dx] = codeOf(sx, sy);
            }
        }
    }
    return image;
}

int countDifferences(const Playback &run, const std::vector<uint32_t> &a, const std::vector<uint32_t> &b, POINT *first)
{
    const int w = (run.width > 0 ? run.width : 0) + 2 * run.margin;
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        if (count++ == 0 && first)
            *first = {LONG(i % w) - run.margin, LONG(i / w) - run.margin};
    }
    return count + int(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

}  // namespace fx
