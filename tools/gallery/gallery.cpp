// The effect gallery: plays every numbered effect through the library's own routines on a
// sample picture and writes a strip of evenly spaced frames per effect, so a user can
// pick an effect number by looking. Usage: kygallery <output folder>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "effects/effects.h"
#include "frame/dibheader.h"

namespace {

const int frameWidth = 192, frameHeight = 128, framesPerStrip = 6, gap = 4;

struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    uint32_t *bits;
};

Surface makeSurface(int width, int height)
{
    BITMAPINFO info = {};
    buildTopDownDib32Header(&info.bmiHeader, width, height);
    Surface s;
    void *bits = nullptr;
    s.dc = CreateCompatibleDC(NULL);
    s.bitmap = CreateDIBSection(s.dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    s.previous = SelectObject(s.dc, s.bitmap);
    s.bits = static_cast<uint32_t *>(bits);
    return s;
}

void freeSurface(Surface &s)
{
    SelectObject(s.dc, s.previous);
    DeleteObject(s.bitmap);
    DeleteDC(s.dc);
}

void fillRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    RECT area = {left, top, right, bottom};
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// A picture with structure in both directions, so every effect's motion shows.
void paintSample(HDC dc)
{
    for (int y = 0; y < frameHeight; ++y)
        fillRect(dc, 0, y, frameWidth, y + 1, RGB(40 + y / 2, 110 + y, 230));
    HBRUSH sun = CreateSolidBrush(RGB(255, 210, 40));
    HGDIOBJ oldBrush = SelectObject(dc, sun);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 130, 12, 172, 54);
    SelectObject(dc, oldBrush);
    DeleteObject(sun);
    HBRUSH hill = CreateSolidBrush(RGB(40, 140, 60));
    oldBrush = SelectObject(dc, hill);
    Ellipse(dc, -60, 80, 120, 200);
    Ellipse(dc, 70, 90, 260, 220);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(hill);
    const COLORREF tiles[] = {RGB(220, 40, 40), RGB(250, 250, 250), RGB(30, 30, 160), RGB(250, 150, 0)};
    for (int i = 0; i < 8; ++i)
        fillRect(dc, 8 + i * 14, 100, 20 + i * 14, 112, tiles[i % 4]);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(20, 20, 60));
    TextOutA(dc, 12, 14, "kydoru", 6);
}

Surface *target = nullptr;
std::vector<std::vector<uint32_t>> frames;

void keepFrame(unsigned int)
{
    GdiFlush();
    frames.emplace_back(target->bits, target->bits + frameWidth * frameHeight);
}

bool writeBitmap(const std::string &path, const std::vector<uint32_t> &pixels, int width, int height)
{
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info;
    buildTopDownDib32Header(&info, width, height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + pixels.size() * 4);
    FILE *out = fopen(path.c_str(), "wb");
    if (!out)
        return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&info, sizeof info, 1, out) == 1 &&
              fwrite(pixels.data(), 4, pixels.size(), out) == pixels.size();
    return fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: kygallery <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    Surface source = makeSurface(frameWidth, frameHeight), destination = makeSurface(frameWidth, frameHeight);
    paintSample(source.dc);
    GdiFlush();
    const int stripWidth = framesPerStrip * frameWidth + (framesPerStrip - 1) * gap;
    int failures = 0;
    for (int effect = 0; effect < effectCount; ++effect) {
        // The destination starts black, as a window blanked with blank mode 1.
        memset(destination.bits, 0, frameWidth * frameHeight * 4);
        frames.clear();
        target = &destination;
        effectPauseHook = keepFrame;
        runBmpEffect(source.dc, 0, 0, destination.dc, 0, 0, frameWidth, frameHeight, 0, 20, effect);
        effectPauseHook = nullptr;
        GdiFlush();
        // Evenly spaced pauses, then the end state.
        std::vector<const std::vector<uint32_t> *> chosen;
        const size_t shownPauses = framesPerStrip - 1;
        for (size_t i = 0; i < shownPauses && !frames.empty(); ++i)
            chosen.push_back(&frames[(frames.size() - 1) * (i + 1) / shownPauses]);
        std::vector<uint32_t> end(destination.bits, destination.bits + frameWidth * frameHeight);
        chosen.push_back(&end);
        std::vector<uint32_t> strip(size_t(stripWidth) * frameHeight, 0x00808080);
        for (size_t f = 0; f < chosen.size(); ++f)
            for (int y = 0; y < frameHeight; ++y)
                memcpy(&strip[size_t(y) * stripWidth + f * (frameWidth + gap)], &(*chosen[f])[size_t(y) * frameWidth],
                       frameWidth * 4);
        char name[64];
        snprintf(name, sizeof name, "effect-%02d.bmp", effect);
        if (!writeBitmap(folder + "\\" + name, strip, stripWidth, frameHeight))
            ++failures;
        printf("%02d|%s|%zu\n", effect, bmpEffectNames[effect], frames.size());
    }
    freeSurface(destination);
    freeSurface(source);
    return failures ? 1 : 0;
}
