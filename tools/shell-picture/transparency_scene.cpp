// Puts a scene on the test display for a picture of kySetWTransparent: a striped backdrop
// and, in front, a white window with a dark panel and a caption bar. After the export,
// the white parts of the front window let the stripes through. Binds kydoru.dll by name
// from its own folder and stays up for the number of milliseconds given (default 8000).
#include <windows.h>

#include <stdlib.h>

static LRESULT CALLBACK paintScene(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area;
    GetClientRect(window, &area);
    bool backdrop = GetWindowLongPtrA(window, GWLP_USERDATA) != 0;
    static const COLORREF stripes[] = {RGB(200, 40, 40), RGB(240, 180, 20), RGB(40, 150, 60), RGB(40, 80, 200)};
    for (int i = 0; backdrop && i < 4; ++i) {
        RECT band = {area.right * i / 4, 0, area.right * (i + 1) / 4, area.bottom};
        HBRUSH brush = CreateSolidBrush(stripes[i]);
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    if (!backdrop) {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        RECT panel = {30, 40, 170, 160};
        HBRUSH dark = CreateSolidBrush(RGB(30, 30, 60));
        FillRect(dc, &panel, dark);
        DeleteObject(dark);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        RECT text = {190, 80, area.right, 120};
        DrawTextA(dc, "white is see-through", -1, &text, DT_LEFT | DT_SINGLELINE);
    }
    EndPaint(window, &paint);
    return 0;
}

static void pump(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
}

int main(int argc, char **argv)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = paintScene;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = "kyScene";
    RegisterClassA(&wc);
    HWND backdrop = CreateWindowA("kyScene", "backdrop", WS_POPUP, 0, 0, 1024, 768, NULL, NULL, wc.hInstance, NULL);
    SetWindowLongPtrA(backdrop, GWLP_USERDATA, 1);
    ShowWindow(backdrop, SW_SHOW);
    HWND front = CreateWindowA("kyScene", "kySetWTransparent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 212, 234, 600, 300,
                               NULL, NULL, wc.hInstance, NULL);
    pump(500);
    typedef int(__cdecl * SetTransparent)(HWND, int);
    HMODULE dll = LoadLibraryA("kydoru.dll");
    SetTransparent set = dll ? reinterpret_cast<SetTransparent>(GetProcAddress(dll, "kySetWTransparent")) : NULL;
    if (!set)
        return 1;
    set(front, 230);
    pump(argc > 1 ? static_cast<DWORD>(atoi(argv[1])) : 8000);
    return 0;
}
