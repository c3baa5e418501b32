// The parts of the test harness that need no test framework: message pumping with time
// limits, the message-box watcher and plain test windows. Child programs of the tests
// link this file alone.
#include "kywindows.h"

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace kytest {

void pumpMessages(DWORD ms)
{
    waitUntil([] { return false; }, ms);
}

bool waitUntil(const std::function<bool()> &done, DWORD limitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= limitMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
}

// ---- message boxes ------------------------------------------------------------

static std::mutex boxLock;
static std::vector<SeenBox> boxes;
static std::atomic<bool> watching{false};
static std::thread watcher;

bool isOwnMessageBox(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    return pid == GetCurrentProcessId() && strcmp(cls, "#32770") == 0 && IsWindowVisible(window);
}

static BOOL CALLBACK answerBox(HWND window, LPARAM handledPtr)
{
    auto *handled = reinterpret_cast<std::set<HWND> *>(handledPtr);
    if (!isOwnMessageBox(window))
        return TRUE;
    if (!handled->count(window)) {
        SeenBox box;
        char text[1024] = "";
        GetWindowTextA(window, text, sizeof text);
        box.caption = text;
        text[0] = 0;
        GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
        box.text = text;
        std::lock_guard<std::mutex> hold(boxLock);
        boxes.push_back(box);
        handled->insert(window);
    }
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void startBoxWatcher()
{
    if (watching.exchange(true))
        return;
    watcher = std::thread([] {
        std::set<HWND> handled;
        while (watching) {
            EnumWindows(answerBox, reinterpret_cast<LPARAM>(&handled));
            for (auto it = handled.begin(); it != handled.end();)
                it = IsWindow(*it) ? std::next(it) : handled.erase(it);
            Sleep(30);
        }
    });
}

void stopBoxWatcher()
{
    if (!watching.exchange(false))
        return;
    watcher.join();
}

std::vector<SeenBox> seenBoxes()
{
    std::lock_guard<std::mutex> hold(boxLock);
    return boxes;
}

void clearSeenBoxes()
{
    std::lock_guard<std::mutex> hold(boxLock);
    boxes.clear();
}

bool waitForBoxes(size_t count, DWORD limitMs)
{
    return waitUntil([count] { return seenBoxes().size() >= count; }, limitMs);
}

// ---- test windows -------------------------------------------------------------

std::function<void(HWND, WPARAM)> testWindowApp;

static LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) {
        RECT area;
        GetClientRect(window, &area);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
        FillRect(reinterpret_cast<HDC>(wParam), &area, brush);
        DeleteObject(brush);
        return 1;
    }
    if (message == WM_APP) {
        if (testWindowApp)
            testWindowApp(window, wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND createTestWindow(int x, int y, int width, int height, COLORREF fill, DWORD style, DWORD exStyle,
                      HWND parent)
{
    static ATOM cls = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = testWindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        wc.lpszClassName = "kytestWindow";
        return RegisterClassA(&wc);
    }();
    (void)cls;
    HWND window = CreateWindowExA(exStyle, "kytestWindow", "kydoru test", style, x, y, width, height,
                                  parent, NULL, GetModuleHandleA(NULL), NULL);
    if (window) {
        SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(fill));
        InvalidateRect(window, NULL, TRUE);
        UpdateWindow(window);
    }
    return window;
}

std::string programFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

bool onTwoMonitorDisplay()
{
    MONITORINFO second;
    second.cbSize = sizeof second;
    const RECT expected = {1024, 0, 1824, 600};
    return GetSystemMetrics(SM_CMONITORS) == 2 && GetSystemMetrics(SM_CXSCREEN) == 1024 &&
           GetSystemMetrics(SM_CYSCREEN) == 768 &&
           GetMonitorInfoA(MonitorFromPoint(POINT{1100, 100}, MONITOR_DEFAULTTONULL), &second) &&
           EqualRect(&second.rcMonitor, &expected);
}

// Where the system keeps no count (Wine), the screen's cached device contexts live in
// this process's handle table: a window that asks for a DC while every cached one is busy
// or tied to another live window gets a new one, three objects that stay, until the cache
// holds 64. Which call adds one depends on the order windows come and go, so a count taken
// across a run of windows could read as a leak. Holding 64 window DCs at once, once, fills
// the cache; after that it only grows when 64 are in use together.
static void fillDcCache()
{
    enum { cacheSize = 64 };
    HWND windows[cacheSize] = {};
    HDC dcs[cacheSize] = {};
    for (int i = 0; i < cacheSize; ++i) {
        windows[i] = createTestWindow(0, 0, 1, 1, RGB(0, 0, 0), WS_POPUP);  // hidden: never painted
        dcs[i] = windows[i] ? GetDC(windows[i]) : NULL;
    }
    for (int i = 0; i < cacheSize; ++i) {
        if (dcs[i])
            ReleaseDC(windows[i], dcs[i]);
        if (windows[i])
            DestroyWindow(windows[i]);
    }
}

// Live GDI objects of this process: the system's count where it keeps one, otherwise
// how many more bitmaps can be made before the handle table is full.
long gdiObjectsInUse()
{
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted)
        return long(counted);
    static std::once_flag cacheFilled;
    std::call_once(cacheFilled, fillDcCache);
    std::vector<HBITMAP> made;
    for (;;) {
        HBITMAP b = made.size() < 200000 ? CreateBitmap(1, 1, 1, 1, NULL) : NULL;
        if (!b)
            break;
        made.push_back(b);
    }
    for (HBITMAP b : made)
        DeleteObject(b);
    return -long(made.size());
}

}  // namespace kytest
