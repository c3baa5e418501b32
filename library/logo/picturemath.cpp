// The texture loader's pure rules (texture sides, pixel conversion, path building),
// kept apart from the decoder and GL calls so they can be checked directly.
#include "logo/picture.h"

#include <string.h>

int textureSide(int pixels, int maxSize)
{
    if (pixels <= 0 || maxSize <= 0)
        return 0;
    if (pixels > maxSize)
        return maxSize;
    // Nearest power of two on a log scale: the cut between 2^k and 2^(k+1) is
    // 2^(k+0.5), i.e. round up when pixels^2 >= 2 * 4^k (never equal for integers).
    unsigned long long lower = 1;
    while (lower * 2 <= static_cast<unsigned long long>(pixels))
        lower *= 2;
    unsigned long long square = static_cast<unsigned long long>(pixels) * pixels;
    unsigned long long side = square >= 2 * lower * lower ? lower * 2 : lower;
    return side > static_cast<unsigned long long>(maxSize) ? maxSize : static_cast<int>(side);
}

void convertPixelsToRgba(unsigned char *pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        unsigned char *p = pixels + 4 * i;
        unsigned char blue = p[0];
        p[0] = p[2];
        p[2] = blue;
        p[3] = (p[0] | p[1] | p[2]) ? 255 : 0;
    }
}

int buildPicturePath(const char *name, const char *directory, char *path, size_t pathSize)
{
    if (!pathSize)
        return 0;
    size_t nameLength = strlen(name);
    if (strstr(name, "http://")) {
        if (nameLength + 1 > pathSize)
            return 0;
        memcpy(path, name, nameLength + 1);
        return 1;
    }
    size_t directoryLength = strlen(directory);
    if (directoryLength + 1 + nameLength + 1 > pathSize)
        return 0;
    memcpy(path, directory, directoryLength);
    path[directoryLength] = '\\';
    memcpy(path + directoryLength + 1, name, nameLength + 1);
    return 1;
}
