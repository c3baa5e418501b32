// The one header for the library's 32-bit pixel surfaces, shared by the library, its
// tests and its tools so the layout is written once.
#pragma once
#include <windows.h>

// Fills *header for a width x height, 32-bit, uncompressed DIB whose first row in memory
// is the top row (negative height), so pixel (x, y) is at y * width + x. Every other
// field is zero, including the image size, which uncompressed bitmaps may leave out.
void buildTopDownDib32Header(BITMAPINFOHEADER *header, int width, int height);
// The same with the bottom row first in memory (positive height), the order GL textures
// and BMP files use.
void buildBottomUpDib32Header(BITMAPINFOHEADER *header, int width, int height);
