#include "frame/dibheader.h"

#include <string.h>

void buildTopDownDib32Header(BITMAPINFOHEADER *header, int width, int height)
{
    memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    header->biWidth = width;
    header->biHeight = -height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
}
