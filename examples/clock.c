/* The desktop clock behind one button. The first click opens the clock, and that
 * kySoftClock call returns only when the clock closes; meanwhile the clock's message
 * loop dispatches this window's messages, so a second click reaches the handler
 * again, and its kySoftClock call closes the clock. The first call then returns.
 *   x86_64-w64-mingw32-gcc clock.c -Idist/include -Ldist/win64 -lkydoru -mwindows -o clock.exe */
#include <windows.h>

#include "kydoru.h"

enum { clockButtonId = 1 };

static HWND clockButton;
static int clockRunning; /* a kySoftClock call of ours is open on the stack */

static void toggleClock(void)
{
    if (clockRunning) {
        kySoftClock(); /* a note, then the clock closes; returns at once */
        return;
    }
    clockRunning = 1;
    SetWindowTextA(clockButton, "Stop clock");
    kySoftClock(); /* a note, then the clock runs until it closes */
    clockRunning = 0;
    if (IsWindow(clockButton))
        SetWindowTextA(clockButton, "Start clock");
}

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        clockButton = CreateWindowA("BUTTON", "Start clock", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 160, 32,
                                    window, (HMENU)(INT_PTR)clockButtonId, NULL, NULL);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == clockButtonId)
            toggleClock();
        return 0;
    case WM_DESTROY:
        /* While the clock runs this quit ends the clock's loop first: the clock closes
         * and the quit is posted again for the loop below. */
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)previous;
    (void)commandLine;
    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512)); /* IDC_ARROW */
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "KydoruClockExample";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KydoruClockExample", "kydoru clock", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 220, 120, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
