// Decodes the embedded logo JPEG with the system's OLE picture decoder: the resource's
// bytes are copied into a stream, OleLoadPicture reads it, and the picture is rendered
// once into a plain bitmap the picture box can paint cheaply.
#include "picture.h"

#include <ole2.h>
#include <olectl.h>
#include <string.h>

namespace {

// A stream over a private copy of the resource bytes; the stream owns the copy.
IStream *streamOverResource(HINSTANCE instance, int resourceId, DWORD *byteCount)
{
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found)
        return nullptr;
    DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy)
        return nullptr;
    void *target = GlobalLock(copy);
    if (!target) {
        GlobalFree(copy);
        return nullptr;
    }
    memcpy(target, bytes, size);
    GlobalUnlock(copy);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    *byteCount = size;
    return stream;
}

// The picture's size in pixels: the decoded bitmap's own, else its HIMETRIC size at the
// screen's resolution.
SIZE pictureSize(IPicture *picture, HDC screen)
{
    SIZE size = {0, 0};
    OLE_HANDLE handle = 0;
    short type = PICTYPE_UNINITIALIZED;
    BITMAP info;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle)) &&
        GetObjectA(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle)), sizeof info, &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight;
        return size;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    size.cx = MulDiv(width, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    size.cy = MulDiv(height, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    return size;
}

}  // namespace

HBITMAP loadEmbeddedPicture(HINSTANCE instance, int resourceId, SIZE *size)
{
    DWORD byteCount = 0;
    IStream *stream = streamOverResource(instance, resourceId, &byteCount);
    if (!stream)
        return NULL;
    IPicture *picture = nullptr;
    HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(byteCount), FALSE, IID_IPicture,
                                    reinterpret_cast<void **>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture)
        return NULL;

    HBITMAP bitmap = NULL;
    HDC screen = GetDC(NULL);
    if (screen) {
        SIZE pixels = pictureSize(picture, screen);
        HDC memory = CreateCompatibleDC(screen);
        if (memory && pixels.cx > 0 && pixels.cy > 0)
            bitmap = CreateCompatibleBitmap(screen, pixels.cx, pixels.cy);
        if (bitmap) {
            OLE_XSIZE_HIMETRIC width = 0;
            OLE_YSIZE_HIMETRIC height = 0;
            picture->get_Width(&width);
            picture->get_Height(&height);
            HGDIOBJ previous = SelectObject(memory, bitmap);
            // HIMETRIC runs upwards: start at the bottom edge with a negative height.
            picture->Render(memory, 0, 0, pixels.cx, pixels.cy, 0, height, width, -height, NULL);
            SelectObject(memory, previous);
            *size = pixels;
        }
        if (memory)
            DeleteDC(memory);
        ReleaseDC(NULL, screen);
    }
    picture->Release();
    return bitmap;
}
