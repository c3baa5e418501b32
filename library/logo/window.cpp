// The logo show's GL window: creation with its pixel format and GL context, the
// full-screen display mode, the window procedure and the frame it draws on WM_PAINT.
#include "logo/logo.h"

#include <string.h>

#include "display/displaymode.h"
#include "logo/glcalls.h"
#include "logo/scene.h"

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the pixel format descriptor is 40 bytes");
#endif

SetPixelFormatFn logoSetPixelFormat = SetPixelFormat;
ChangeDisplaySettingsFn logoChangeDisplaySettings = ChangeDisplaySettingsA;

float frameElapsedMs(ULONGLONG now, ULONGLONG last, float secondsPerCount)
{
    // In double: a float count would lose the low digits of a long minimize.
    return static_cast<float>(static_cast<double>(now - last) * secondsPerCount * 1000.0);
}

ULONGLONG widenTickCount(ULONGLONG last, DWORD tick)
{
    return last + DWORD(tick - static_cast<DWORD>(last));
}

LogoWindowShape logoWindowShape(LogoScreen screen, int width, int height)
{
    LogoWindowShape shape;
    shape.outer.left = 0;
    shape.outer.top = 0;
    shape.outer.right = width;
    shape.outer.bottom = height;
    if (screen == logoFullScreen) {
        shape.style = WS_POPUP;
        shape.exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
    } else {
        shape.style = WS_OVERLAPPEDWINDOW;
        shape.exStyle = WS_EX_APPWINDOW;
        // A refused full screen keeps the mode's rectangle as the whole window.
        if (screen == logoWindowed)
            AdjustWindowRectEx(&shape.outer, shape.style, FALSE, shape.exStyle);
    }
    return shape;
}

int switchDisplayMode(int width, int height, int bits)
{
    DEVMODEA mode;
    buildDisplayMode(&mode, bits, width, height, 0);
    return logoChangeDisplaySettings(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

static ULONGLONG readFrameClock(const LogoWindow *w)
{
    if (w->highResTimer) {
        LARGE_INTEGER count;
        QueryPerformanceCounter(&count);
        return static_cast<ULONGLONG>(count.QuadPart);
    }
    return widenTickCount(w->lastCount, GetTickCount());
}

static void startFrameClock(LogoWindow *w)
{
    LARGE_INTEGER frequency;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart) {
        w->highResTimer = 1;
        w->secondsPerCount = static_cast<float>(1.0 / static_cast<double>(frequency.QuadPart));
    } else {
        w->highResTimer = 0;
        w->secondsPerCount = 0.001f;
    }
    w->lastCount = readFrameClock(w);
}

int openLogoWindow(LogoWindow *w)
{
    // Without the GL libraries no context can be made: fail before changing anything.
    if (!logoGlBound())
        return 0;

    PIXELFORMATDESCRIPTOR format;
    memset(&format, 0, sizeof format);
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(w->colorBits);
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;

    LogoScreen screen = logoWindowed;
    if (w->fullScreen == 1) {
        if (switchDisplayMode(w->width, w->height, w->colorBits)) {
            ShowCursor(FALSE);
            screen = logoFullScreen;
        } else {
            MessageBoxA(NULL, "Mode Switch Failed.\nRunning In Windowed Mode.", "Error", MB_OK | MB_ICONEXCLAMATION);
            w->fullScreen = 0;
            screen = logoRefusedFullScreen;
        }
    }
    LogoWindowShape shape = logoWindowShape(screen, w->width, w->height);

    w->window = CreateWindowExA(shape.exStyle, w->host->className, w->title, shape.style, 0, 0,
                                shape.outer.right - shape.outer.left, shape.outer.bottom - shape.outer.top, NULL,
                                NULL, w->host->instance, w);
    int pixelFormat = 0;
    if (w->window)
        w->deviceContext = GetDC(w->window);
    if (w->deviceContext)
        pixelFormat = ChoosePixelFormat(w->deviceContext, &format);
    if (pixelFormat && logoSetPixelFormat(w->deviceContext, pixelFormat, &format))
        w->renderContext = wglCreateContext(w->deviceContext);
    if (w->renderContext && !wglMakeCurrent(w->deviceContext, w->renderContext)) {
        wglDeleteContext(w->renderContext);
        w->renderContext = NULL;
    }
    if (!w->renderContext) {
        // Releases whatever was made and, after a mode switch, restores the display
        // mode and the cursor, which the show would otherwise leave behind.
        closeLogoWindow(w);
        return 0;
    }

    ShowWindow(w->window, SW_NORMAL);
    w->shown = 1;
    setLogoProjection(w->width, w->height);
    memset(w->keyTable, 0, sizeof *w->keyTable);
    startFrameClock(w);
    return 1;
}

int closeLogoWindow(LogoWindow *w)
{
    if (w->window) {
        if (w->deviceContext) {
            wglMakeCurrent(w->deviceContext, NULL);
            if (w->renderContext) {
                wglDeleteContext(w->renderContext);
                w->renderContext = NULL;
            }
            ReleaseDC(w->window, w->deviceContext);
            w->deviceContext = NULL;
        }
        DestroyWindow(w->window);
        w->window = NULL;
    }
    if (w->fullScreen) {
        logoChangeDisplaySettings(NULL, 0);
        ShowCursor(TRUE);
    }
    return 1;
}

void drawLogoFrame(LogoWindow *w)
{
    ULONGLONG now = readFrameClock(w);
    advanceLogoScene(frameElapsedMs(now, w->lastCount, w->secondsPerCount));
    w->lastCount = now;
    renderLogoScene();
    SwapBuffers(w->deviceContext);
}

LRESULT CALLBACK logoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const CREATESTRUCTA *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    // Messages before WM_CREATE (and any after the record is gone) find no record.
    LogoWindow *w = reinterpret_cast<LogoWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!w)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_ERASEBKGND:
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            w->shown = 1;
            setLogoProjection(LOWORD(lParam), HIWORD(lParam));
            return 0;
        }
        if (wParam == SIZE_MINIMIZED) {
            w->shown = 0;
            return 0;
        }
        break;
    case WM_PAINT:
        // Never validated, so WM_PAINT is always pending: that drives the frames. Until
        // the GL context is made there is nothing to draw with.
        if (!w->renderContext)
            break;
        drawLogoFrame(w);
        return 0;
    case WM_CLOSE:
        endLogoShow(w);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam < logoKeyCount) {
            w->keyTable->down[wParam] = message == WM_KEYDOWN;
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // No screen saver or monitor power-down while the show has the focus.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case WM_LOGO_TOGGLE_SCREEN:
        logoFullScreenWanted = !logoFullScreenWanted;
        PostMessageA(window, WM_QUIT, 0, 0);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
