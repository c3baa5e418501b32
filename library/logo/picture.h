// Picture files to OpenGL textures: the pure sizing, path and pixel rules, and the
// loader that applies them with the platform's picture decoder.
#pragma once
#include <windows.h>
#include <stddef.h>

enum { picturePathSize = MAX_PATH + 1 };  // 260 characters and the terminator

// One texture side for a picture side of `pixels`: the power of two nearest on a
// logarithmic scale, or `maxSize` when the picture is larger. 0 when no texture can be
// made (an empty picture or no usable maximum).
int textureSide(int pixels, int maxSize);

// BGRA to RGBA in place; pure black becomes fully transparent, everything else opaque.
void convertPixelsToRgba(unsigned char *pixels, size_t count);

// The path handed to the picture loader: `name` unchanged when it is a URL ("http://"
// anywhere in it), else `directory` + "\" + `name`. 0 when the result doesn't fit in
// `pathSize` bytes with its terminator.
int buildPicturePath(const char *name, const char *directory, char *path, size_t pathSize);

// Loads `name` from the current directory (or a URL) into a new texture of the current
// GL context and leaves it bound. 1 on success; 0 leaves `texture` untouched.
int loadPictureTexture(const char *name, unsigned int *texture);
