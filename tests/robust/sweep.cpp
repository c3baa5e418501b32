// The sweep's machinery: binding the DLL by name, verdicts, timed cases, the message-box
// answering thread and the window kinds a careless caller hands the library.
#include "sweep.h"

#include <atomic>
#include <set>
#include <thread>

#include "careless.h"
#include "kywindows.h"

namespace robust {

HMODULE library()
{
    static HMODULE dll = [] {
        return LoadLibraryA((kytest::programFolder() + "kydoru.dll").c_str());
    }();
    return dll;
}

FARPROC exportAddress(const char *name)
{
    FARPROC address = library() ? GetProcAddress(library(), name) : nullptr;
    if (!address) {
        // A missing export is a broken build, not a case that can be judged.
        fprintf(stderr, "kydoru.dll does not export %s\n", name);
        fflush(stderr);
        ExitProcess(90);
    }
    return address;
}

Verdict pass()
{
    return {casePassed, ""};
}

Verdict fail(const std::string &why)
{
    return {caseFailed, why};
}

Verdict skip(const std::string &why)
{
    return {caseSkipped, why};
}

Verdict expectEq(long long got, long long want, const std::string &what)
{
    if (got == want)
        return pass();
    return fail(what + ": got " + std::to_string(got) + ", want " + std::to_string(want));
}

Verdict expectTrue(bool ok, const std::string &why)
{
    return ok ? pass() : fail(why);
}

Verdict all(std::initializer_list<Verdict> verdicts)
{
    for (const Verdict &v : verdicts)
        if (v.outcome != casePassed)
            return v;
    return pass();
}

CaseSink caseSink = {nullptr, nullptr};

bool inChild = false;

void dropWindows(std::initializer_list<HWND> windows)
{
    if (inChild)
        return;
    for (HWND window : windows)
        DestroyWindow(window);
}

void runCase(const char *exportName, const std::string &caseName, DWORD limitMs,
             const std::function<Verdict()> &body)
{
    if (caseSink.begin)
        caseSink.begin(exportName, caseName.c_str());
    const DWORD start = GetTickCount();
    Verdict v = body();
    const DWORD took = GetTickCount() - start;
    if (v.outcome == casePassed && took > limitMs)
        v = fail("returned after " + std::to_string(took) + " ms, limit " + std::to_string(limitMs) + " ms");
    if (caseSink.end)
        caseSink.end(exportName, caseName.c_str(), v.outcome, v.note.c_str(), took);
}

int testedMode(DWORD width, DWORD height)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = 32;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_TEST);
}


}  // namespace robust

// ---- careless windows -----------------------------------------------------------

namespace careless {

HWND makeWindow(int x, int y, int width, int height, COLORREF fill, DWORD style, HWND parent)
{
    return kytest::createTestWindow(x, y, width, height, fill, style, 0, parent);
}

void pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;  // the cases look for their quits themselves, never while pumping
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

HWND staleWindow()
{
    HWND window = makeWindow(0, 0, 50, 40, RGB(1, 2, 3), WS_POPUP);
    DestroyWindow(window);
    return window;
}

ForeignWindow::ForeignWindow(int x, int y, int width, int height, COLORREF fill)
{
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    thread_ = std::thread([=] {
        threadId_ = GetCurrentThreadId();
        window = makeWindow(x, y, width, height, fill, WS_POPUP | WS_VISIBLE);
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
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
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

}  // namespace careless
