// The sweep's shared machinery: timed cases, the careless windows and the oracles that
// look at the system from outside the library.
#include "sweep.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

#include "display/displaymode.h"
#include "kywindows.h"

namespace sweep {

static std::mutex sweptLock;
static std::set<std::string> swept;

void timedCase(const std::string &exportName, const std::string &inputs, DWORD limitMs,
               const std::function<void()> &body)
{
    {
        std::lock_guard<std::mutex> hold(sweptLock);
        swept.insert(exportName);
    }
    SCOPED_TRACE(exportName + ", " + inputs);
    const DWORD start = GetTickCount();
    body();
    const DWORD took = GetTickCount() - start;
    EXPECT_LE(took, limitMs) << exportName << " (" << inputs << ") returned after " << took << " ms";
}

bool wasSwept(const std::string &exportName)
{
    std::lock_guard<std::mutex> hold(sweptLock);
    return swept.count(exportName) != 0;
}

void destroyWindows(std::initializer_list<HWND> windows)
{
    for (HWND window : windows)
        DestroyWindow(window);
}

HWND staleWindow()
{
    HWND window = kytest::createTestWindow(0, 0, 50, 40, RGB(1, 2, 3), WS_POPUP);
    DestroyWindow(window);
    return window;
}

ForeignWindow::ForeignWindow(int x, int y, int width, int height, COLORREF fill)
{
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    thread_ = std::thread([=] {
        threadId_ = GetCurrentThreadId();
        window = kytest::createTestWindow(x, y, width, height, fill, WS_POPUP | WS_VISIBLE);
        SetEvent(ready);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (window)
            DestroyWindow(window);
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
}

ForeignWindow::~ForeignWindow()
{
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
}

static BOOL CALLBACK findOwnBox(HWND window, LPARAM foundPtr)
{
    if (kytest::isOwnMessageBox(window)) {
        *reinterpret_cast<bool *>(foundPtr) = true;
        return FALSE;
    }
    return TRUE;
}

bool clockLoopRunning()
{
    HWND clock = FindWindowA("kydoru", "KY DORU CLOCK");
    if (!clock || !IsWindowVisible(clock))
        return false;
    bool boxUp = false;
    EnumWindows(findOwnBox, reinterpret_cast<LPARAM>(&boxUp));
    return !boxUp;
}

COLORREF pixelAt(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    COLORREF colour = dc ? GetPixel(dc, x, y) : CLR_INVALID;
    if (dc)
        ReleaseDC(window, dc);
    return colour;
}

int testedMode(DWORD width, DWORD height)
{
    DEVMODEA mode;
    buildDisplayMode(&mode, 32, width, height, 0);
    return ChangeDisplaySettingsA(&mode, CDS_TEST);
}

int listedModeAnswer(DWORD width, DWORD height)
{
    DEVMODEA listed = {};
    listed.dmSize = sizeof listed;
    for (DWORD i = 0; EnumDisplaySettingsA(NULL, i, &listed); ++i) {
        if (listed.dmPelsWidth == width && listed.dmPelsHeight == height && listed.dmBitsPerPel == 32)
            return DISP_CHANGE_SUCCESSFUL;
    }
    return DISP_CHANGE_BADMODE;
}

bool isSystemFolder(const char *path)
{
    char system[MAX_PATH] = "", wow64[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const bool onWow64 = GetSystemWow64DirectoryA(wow64, MAX_PATH) != 0 && sizeof(void *) == 4;
    return (system[0] && lstrcmpiA(path, system) == 0) || (onWow64 && lstrcmpiA(path, wow64) == 0);
}

DWORD recordedMhz()
{
    DWORD mhz = 0, size = sizeof mhz;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "~MHz",
                     RRF_RT_REG_DWORD, NULL, &mhz, &size) != ERROR_SUCCESS)
        return 0;
    return mhz;
}

}  // namespace sweep
