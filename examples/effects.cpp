// A window that plays a transition effect on itself when clicked. An effect takes a
// while and dispatches this thread's messages between its steps, so the window
// procedure runs again inside the kyWindowBmpEffect call: here a timer keeps ticking,
// and a click made meanwhile is turned away rather than nested.
//   x86_64-w64-mingw32-g++ effects.cpp -Idist/include -Ldist/win64 -lkydoru -lgdi32 -o effects.exe
// With --once it plays one effect at once, reports and ends (as the tests run it).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "kydoru.h"

static bool playing;         // our effect call is running
static int ticksDuring;      // timer messages handled inside it
static int effectNumber = 14; // slide from left

static void playEffect(HWND window)
{
    // The library refuses a nested snapshot effect anyway (it returns 1 and draws
    // nothing); keeping our own flag lets the program know it was refused.
    if (playing)
        return;
    playing = true;
    kyWindowBmpEffect(window, effectNumber, 1);  // blank to black, then bring the picture back
    playing = false;
    effectNumber = (effectNumber + 1) % 22;
}

static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (playing)
            ++ticksDuring;
        return 0;
    case WM_LBUTTONUP:
        playEffect(window);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        HBRUSH sky = CreateSolidBrush(RGB(70, 130, 220));
        FillRect(dc, &area, sky);
        DeleteObject(sky);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        const char *text = "Click to play the next effect";
        TextOutA(dc, 20, 20, text, static_cast<int>(std::strlen(text)));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char **argv)
{
    bool once = argc > 1 && std::strcmp(argv[1], "--once") == 0;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = "KydoruEffectsExample";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KydoruEffectsExample", "kydoru effects", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                100, 480, 320, NULL, NULL, windowClass.hInstance, NULL);
    if (!window)
        return 1;
    UpdateWindow(window);
    SetTimer(window, 1, 10, NULL);

    if (once) {
        int played = effectNumber;
        DWORD start = GetTickCount();
        playEffect(window);
        std::printf("effect %d took %lu ms; %d timer messages were handled during it\n", played,
                    GetTickCount() - start, ticksDuring);
        DestroyWindow(window);
    }
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
