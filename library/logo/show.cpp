// kyLogo: the logo show's class, its window-by-window loop and its message pump. The
// show runs inside the call and pumps only its own window's messages.
#include "exports.h"
#include "logo/logo.h"
#include "logo/scene.h"

#include <string.h>

const char logoClassName[] = "OpenGL";
const char logoTitle[] = "KY Computer Software - KY DORU WIN32 Library (F1-full screen)";

int logoRunning;
int logoFullScreenWanted;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "the window class record is 48 bytes on 32-bit Windows");
#endif

void endLogoShow(LogoWindow *w)
{
    PostMessageA(w->window, WM_QUIT, 0, 0);
    logoRunning = 0;
}

void requestScreenToggle(LogoWindow *w)
{
    PostMessageA(w->window, WM_LOGO_TOGGLE_SCREEN, 0, 0);
}

void initLogoShow(LogoWindow *w, KeyTable *keys, LogoHost *host)
{
    memset(keys, 0, sizeof *keys);
    memset(w, 0, sizeof *w);
    host->instance = NULL;
    host->className = logoClassName;
    w->keyTable = keys;
    w->host = host;
    w->title = logoTitle;
    w->width = 640;
    w->height = 480;
    w->colorBits = 32;
}

int registerLogoClass(LogoHost *host)
{
    WNDCLASSEXA cls;
    memset(&cls, 0, sizeof cls);
    cls.cbSize = sizeof cls;
    cls.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = logoWindowProc;
    cls.hInstance = host->instance;
    cls.hCursor = LoadCursorA(NULL, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1);
    cls.lpszClassName = host->className;
    if (!RegisterClassExA(&cls)) {
        MessageBoxA(NULL, "RegisterClassEx Failed!", "Error", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

// A quit the caller posted (PostQuitMessage: it names no window) is taken by the show's
// filtered peeks too. It ends the show, and is posted again once the show is over so the
// caller's own loop still ends; the show's own quits always name its window.
struct CallerQuit {
    int taken;
    WPARAM exitCode;
};

static bool isCallerQuit(const MSG &message, CallerQuit *quit)
{
    if (message.message != WM_QUIT || message.hwnd != NULL)
        return false;
    quit->taken = 1;
    quit->exitCode = message.wParam;
    logoRunning = 0;
    return true;
}

// Takes the window's messages until its WM_QUIT; sleeps only while minimized, since
// WM_PAINT is otherwise always waiting.
static void pumpLogoWindow(LogoWindow *w, CallerQuit *quit)
{
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, w->window, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                isCallerQuit(message, quit);
                return;
            }
            DispatchMessageA(&message);
        } else if (!IsWindow(w->window)) {
            // Gone without its WM_CLOSE: nothing is left to pump, so the show ends.
            endLogoShow(w);
            return;
        } else if (!w->shown) {
            WaitMessage();
        }
    }
}

// Quit messages posted for the show's window must not outlive it: left in the queue
// they would end the caller's own loop. A caller's quit among them is kept.
static void discardLogoQuits(HWND window, CallerQuit *quit)
{
    MSG message;
    while (PeekMessageA(&message, window, WM_QUIT, WM_QUIT, PM_REMOVE))
        isCallerQuit(message, quit);
}

// The show: one window after another (an F1 switch replaces the window) until Esc, a
// close or a failure ends it.
extern "C" int KYCALL kyLogo(void)
{
    KeyTable keys;
    LogoHost host;
    LogoWindow w;
    initLogoShow(&w, &keys, &host);
    CallerQuit quit = {0, 0};

    if (!registerLogoClass(&host)) {
        MessageBoxA(NULL, "Error Registering Window Class!", "Error", MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    logoRunning = 1;
    logoFullScreenWanted = 0;
    do {
        w.fullScreen = logoFullScreenWanted;
        if (!openLogoWindow(&w)) {
            MessageBoxA(NULL, "Error Creating OpenGL Window", "Error", MB_OK | MB_ICONEXCLAMATION);
            logoRunning = 0;
            break;
        }
        if (prepareLogoScene(&w, &keys))
            pumpLogoWindow(&w, &quit);
        else
            endLogoShow(&w);
        discardLogoQuits(w.window, &quit);
        closeLogoWindow(&w);
    } while (logoRunning == 1);
    UnregisterClassA(logoClassName, host.instance);
    if (quit.taken)
        PostQuitMessage(static_cast<int>(quit.exitCode));
    return 0;
}
