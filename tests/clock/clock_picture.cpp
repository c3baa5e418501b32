// Shows the running clock over a striped backdrop for the README's picture: binds
// kySoftClock by name as a user's program does, answers the clock's notes, drags the
// clock onto the backdrop, keeps it open for a few seconds and closes it again.
#include <windows.h>

#include <atomic>
#include <thread>

namespace {

typedef int(__cdecl *SoftClockFn)(void);
SoftClockFn softClock;
std::atomic<bool> answering{true};
const COLORREF stripes[] = {RGB(32, 64, 160), RGB(40, 140, 170), RGB(60, 160, 90), RGB(200, 90, 60),
                            RGB(120, 60, 150)};

LRESULT CALLBACK backdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT area;
        GetClientRect(window, &area);
        const int count = sizeof stripes / sizeof stripes[0];
        for (int i = 0; i < count; ++i) {
            RECT band = {area.right * i / count, 0, area.right * (i + 1) / count, area.bottom};
            HBRUSH brush = CreateSolidBrush(stripes[i]);
            FillRect(dc, &band, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK answerNote(HWND window, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

int stage = 0;
DWORD shownAt = 0;

void CALLBACK step(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND clock = FindWindowA("kydoru", "KY DORU CLOCK");
    if (stage == 0 && clock) {
        // Drag the clock from the corner to the middle of the backdrop.
        SetCursorPos(10, 10);
        SendMessageA(clock, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SetCursorPos(10 + 96, 10 + 64);
        SendMessageA(clock, WM_MOUSEMOVE, MK_LBUTTON, 0);
        SendMessageA(clock, WM_LBUTTONUP, 0, 0);
        SetCursorPos(1000, 700);
        shownAt = GetTickCount();
        stage = 1;
    } else if (stage == 1 && GetTickCount() - shownAt > 6000) {
        KillTimer(NULL, id);
        stage = 2;
        softClock();  // the second call closes the clock
    }
}

}  // namespace

int main()
{
    HMODULE dll = LoadLibraryA("kydoru.dll");
    softClock = dll ? reinterpret_cast<SoftClockFn>(GetProcAddress(dll, "kySoftClock")) : NULL;
    if (!softClock)
        return 1;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = backdropProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "clockBackdrop";
    RegisterClassA(&wc);
    HWND backdrop = CreateWindowExA(0, "clockBackdrop", "backdrop", WS_POPUP | WS_VISIBLE, 0, 0, 320, 256, NULL, NULL,
                                    wc.hInstance, NULL);
    UpdateWindow(backdrop);
    std::thread watcher([] {
        while (answering) {
            EnumWindows(answerNote, 0);
            Sleep(50);
        }
    });
    SetTimer(NULL, 0, 100, step);
    int result = softClock();
    answering = false;
    watcher.join();
    DestroyWindow(backdrop);
    return result;
}
