// Loads the show's pictures into OpenGL textures with the platform's OLE picture
// decoder: stretched to power-of-two sides, pure black made see-through.
#include "logo/picture.h"

#include <ocidl.h>
#include <olectl.h>

#include "frame/dibheader.h"
#include "logo/glcalls.h"

// Decodes `path`; null when the file is missing or can't be decoded.
static IPicture *decodePicture(const char *path)
{
    WCHAR widePath[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH))
        return NULL;
    IPicture *picture = NULL;
    if (FAILED(lazyCalls.OleLoadPicturePath(widePath, NULL, 0, 0, IID_IPicture, reinterpret_cast<void **>(&picture))))
        return NULL;
    return picture;
}

// Creates the texture from the surface's converted pixels and leaves it bound.
static void uploadTexture(const void *pixels, int width, int height, unsigned int *texture)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    *texture = name;
}

int loadPictureTexture(const char *name, unsigned int *texture)
{
    char path[picturePathSize];
    char directory[MAX_PATH];
    if (!strstr(name, "http://")) {
        // A directory that doesn't fit (or can't be read) fails the load rather than
        // being cut or overrunning the path.
        DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
        if (length == 0 || length >= MAX_PATH)
            return 0;
    } else {
        directory[0] = 0;
    }
    if (!buildPicturePath(name, directory, path, sizeof path))
        return 0;

    IPicture *picture = decodePicture(path);
    if (!picture)
        return 0;

    int result = 0;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    if (memory) {
        // Without a GL context the maximum stays 0 and no texture is made.
        GLint maxSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        OLE_XSIZE_HIMETRIC himetricWidth = 0;
        OLE_YSIZE_HIMETRIC himetricHeight = 0;
        picture->get_Width(&himetricWidth);
        picture->get_Height(&himetricHeight);
        int width = textureSide(MulDiv(himetricWidth, GetDeviceCaps(memory, LOGPIXELSX), 2540), maxSize);
        int height = textureSide(MulDiv(himetricHeight, GetDeviceCaps(memory, LOGPIXELSY), 2540), maxSize);

        BITMAPINFO info = {};
        buildBottomUpDib32Header(&info.bmiHeader, width, height);  // memory row 0 is the picture's bottom
        void *pixels = NULL;
        HBITMAP surface = (width > 0 && height > 0)
                              ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &pixels, NULL, 0)
                              : NULL;
        if (surface && pixels) {
            HGDIOBJ previous = SelectObject(memory, surface);
            // The source runs from the picture's top down (HIMETRIC is bottom-up), so
            // the whole picture lands upright in the surface.
            picture->Render(memory, 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, NULL);
            GdiFlush();
            convertPixelsToRgba(static_cast<unsigned char *>(pixels), static_cast<size_t>(width) * height);
            uploadTexture(pixels, width, height, texture);
            SelectObject(memory, previous);
            result = 1;
        }
        if (surface)
            DeleteObject(surface);
        DeleteDC(memory);
    }
    if (screen)
        ReleaseDC(NULL, screen);
    picture->Release();
    return result;
}
