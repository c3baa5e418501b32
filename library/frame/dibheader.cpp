#include "frame/dibheader.h"

#include <string.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the bitmap header is 40 bytes on 32-bit Windows");
#endif

static void buildDib32Header(BITMAPINFOHEADER *header, int width, int signedHeight)
{
    memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = signedHeight;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
}

void buildTopDownDib32Header(BITMAPINFOHEADER *header, int width, int height)
{
    buildDib32Header(header, width, -height);
}

void buildBottomUpDib32Header(BITMAPINFOHEADER *header, int width, int height)
{
    buildDib32Header(header, width, height);
}
