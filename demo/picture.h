// The logo picture carried inside the program, decoded once at start.
#pragma once
#include <windows.h>

// Decodes the JPEG resource `resourceId` of `instance` into a bitmap compatible with
// the screen, at the picture's own pixel size. Null when it can't be had; the caller
// deletes the bitmap.
HBITMAP loadEmbeddedPicture(HINSTANCE instance, int resourceId, SIZE *size);
