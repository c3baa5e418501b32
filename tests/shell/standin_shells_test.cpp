// The ten shell-element exports on the window structures of four shells. Wine's explorer
// has none of them, so each is built here, window by window, with the classes, ids and
// parents the real shell uses; the exports find them by class and id exactly as they
// would find the shell's own. What an export did is read from each window's own
// WS_VISIBLE bit, not from anything the library reports.
#include "kytest.h"

#include <string.h>

#include <map>
#include <string>

#include "shell/shellwindows.h"

namespace {

// One window of a stand-in. `parent` names an earlier row (null: a top-level window).
struct WindowRow {
    const char *key;
    const char *className;
    const char *caption;
    int id;
    const char *parent;
    RECT place;  // in the parent's client area, or on the screen
};

// Windows XP: the task bar as Spy++ shows it since Windows 2000 (the start button is
// child 304, the notification area child 303 with the clock as its child 303), and the
// desktop icons' SHELLDLL_DefView inside Progman. The windows no export looks for (the
// task list, the icons' list view) are left out of every stand-in.
const WindowRow windowsXp[] = {
    {"bar", "Shell_TrayWnd", "", 0, nullptr, {0, 738, 1024, 768}},
    {"start", "Button", "start", startButtonId, "bar", {0, 0, 100, 30}},
    {"notify", "TrayNotifyWnd", "", notificationAreaId, "bar", {900, 0, 1024, 30}},
    {"clock", "TrayClockWClass", "12:00", trayClockId, "notify", {60, 0, 124, 30}},
    {"progman", "Progman", "Program Manager", 0, nullptr, {0, 0, 300, 200}},
    {"view", "SHELLDLL_DefView", "", 0, "progman", {0, 0, 300, 200}},
};

// Windows 7: no ids any more; the notification area and clock by class alone, and the
// round start orb is a top-level button of its own, outside the task bar (so the
// exports do not find it). The icons still live inside Progman.
const WindowRow windows7[] = {
    {"bar", "Shell_TrayWnd", "", 0, nullptr, {0, 728, 1024, 768}},
    {"notify", "TrayNotifyWnd", "", 0, "bar", {880, 0, 1024, 40}},
    {"clock", "TrayClockWClass", "12:00", 0, "notify", {60, 0, 124, 40}},
    {"orb", "Button", "Start", 0, nullptr, {0, 722, 54, 768}},
    {"progman", "Progman", "Program Manager", 0, nullptr, {0, 0, 300, 200}},
    {"view", "SHELLDLL_DefView", "", 0, "progman", {0, 0, 300, 200}},
};

// Windows 10 with a second monitor: the start button is the task bar's child of class
// "Start", the clock TrayClockWClass in TrayNotifyWnd; the second monitor has its own
// task bar (Shell_SecondaryTrayWnd) with its own start button and clock. After the
// desktop has once faded its wallpaper the icons' SHELLDLL_DefView lives in a WorkerW
// beside an empty Progman, and a second WorkerW draws the wallpaper (made last here,
// so the search meets that empty one first).
const WindowRow windows10[] = {
    {"bar", "Shell_TrayWnd", "", 0, nullptr, {0, 728, 1024, 768}},
    {"start", "Start", "Start", 0, "bar", {0, 0, 48, 40}},
    {"notify", "TrayNotifyWnd", "", 0, "bar", {860, 0, 1024, 40}},
    {"clock", "TrayClockWClass", "12:00", 0, "notify", {80, 0, 150, 40}},
    {"second", "Shell_SecondaryTrayWnd", "", 0, nullptr, {1024, 560, 1824, 600}},
    {"secondStart", "Start", "Start", 0, "second", {0, 0, 48, 40}},
    {"secondClock", "ClockButton", "12:00", 0, "second", {730, 0, 800, 40}},
    {"progman", "Progman", "Program Manager", 0, nullptr, {0, 0, 300, 200}},
    {"worker", "WorkerW", "", 0, nullptr, {0, 0, 300, 200}},
    {"view", "SHELLDLL_DefView", "", 0, "worker", {0, 0, 300, 200}},
    {"wallpaper", "WorkerW", "", 0, nullptr, {0, 0, 300, 200}},
};

// Windows 11 (22H2 and later): each task bar's whole content, start button and clock
// included, is one XAML island, a DesktopWindowContentBridge; the desktop is as on 10.
const WindowRow windows11[] = {
    {"bar", "Shell_TrayWnd", "", 0, nullptr, {0, 720, 1024, 768}},
    {"content", "Windows.UI.Composition.DesktopWindowContentBridge", "DesktopWindowXamlSource", 0, "bar",
     {0, 0, 1024, 48}},
    {"second", "Shell_SecondaryTrayWnd", "", 0, nullptr, {1024, 552, 1824, 600}},
    {"secondContent", "Windows.UI.Composition.DesktopWindowContentBridge", "DesktopWindowXamlSource", 0, "second",
     {0, 0, 800, 48}},
    {"progman", "Progman", "Program Manager", 0, nullptr, {0, 0, 300, 200}},
    {"worker", "WorkerW", "", 0, nullptr, {0, 0, 300, 200}},
    {"view", "SHELLDLL_DefView", "", 0, "worker", {0, 0, 300, 200}},
    {"wallpaper", "WorkerW", "", 0, nullptr, {0, 0, 300, 200}},
};

// The exports in the order they are called, each hide right before its show.
typedef int(KYCALL *ShellExport)(void);
const char *const exportNames[] = {
    "kyHideTaskBar",     "kyShowTaskBar",     "kyHideStartButton",  "kyShowStartButton",  "kyHideSystemClock",
    "kyShowSystemClock", "kyHideDesktopIcons", "kyShowDesktopIcons", "kyHideDesktop",      "kyShowDesktop",
};
const int exportCount = sizeof exportNames / sizeof exportNames[0];

// What one call returned and which windows of the stand-in were hidden right after it
// (keys in row order; every window was visible before each hide).
struct Outcome {
    int result;
    const char *hidden;
};

// Wine keeps its desktop window visible and answers a hide with 0; the stand-ins'
// windows are not touched by the desktop pair on any structure.
struct ShellRow {
    const char *windowsVersion;
    const WindowRow *windows;
    size_t windowCount;
    Outcome outcomes[exportCount];
};
#define WINDOWS(table) table, sizeof table / sizeof table[0]
const ShellRow shellTable[] = {
    {"Windows XP", WINDOWS(windowsXp),
     {{1, "bar"}, {0, ""}, {1, "start"}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman"}, {0, ""}, {0, ""}, {1, ""}}},
    {"Windows 7", WINDOWS(windows7),
     {{1, "bar"}, {0, ""}, {0, ""}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman"}, {0, ""}, {0, ""}, {1, ""}}},
    {"Windows 10", WINDOWS(windows10),
     {{1, "bar second"}, {0, ""}, {1, "start"}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman view"}, {0, ""},
      {0, ""}, {1, ""}}},
    {"Windows 11", WINDOWS(windows11),
     {{1, "bar second"}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, "progman view"}, {0, ""}, {0, ""},
      {1, ""}}},
};

// A stand-in's windows, made visible, and destroyed with it.
class StandIn {
public:
    explicit StandIn(const ShellRow &row) : row_(row)
    {
        HINSTANCE self = GetModuleHandleA(NULL);
        for (size_t i = 0; i < row.windowCount; ++i) {
            const WindowRow &w = row.windows[i];
            if (lstrcmpiA(w.className, "Button") != 0) {
                WNDCLASSA wc = {};
                wc.lpfnWndProc = DefWindowProcA;
                wc.hInstance = self;
                wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
                wc.lpszClassName = w.className;
                RegisterClassA(&wc);  // already there from an earlier stand-in: fine
            }
            HWND parent = w.parent ? windows_[w.parent] : NULL;
            DWORD style = WS_VISIBLE | (parent ? WS_CHILD : WS_POPUP);
            // Task bars stay above other windows, as the shell's do (and Wine's own
            // hidden task bar, also topmost, then comes after them in the search).
            DWORD exStyle = !parent && strstr(w.className, "TrayWnd") ? WS_EX_TOPMOST : 0;
            windows_[w.key] = CreateWindowExA(exStyle, w.className, w.caption, style, w.place.left, w.place.top,
                                              w.place.right - w.place.left, w.place.bottom - w.place.top, parent,
                                              parent ? HMENU(INT_PTR(w.id)) : NULL, self, NULL);
        }
        kytest::pumpMessages(20);
    }
    ~StandIn()
    {
        for (size_t i = row_.windowCount; i-- > 0;)
            if (!row_.windows[i].parent)
                DestroyWindow(windows_[row_.windows[i].key]);
    }
    bool complete() const
    {
        for (const auto &w : windows_)
            if (!w.second)
                return false;
        return true;
    }
    HWND operator[](const char *key) const { return windows_.at(key); }
    // The keys of the windows whose own WS_VISIBLE bit is clear, in row order.
    std::string hidden() const
    {
        std::string keys;
        for (size_t i = 0; i < row_.windowCount; ++i)
            if (!(GetWindowLongA(windows_.at(row_.windows[i].key), GWL_STYLE) & WS_VISIBLE))
                keys += (keys.empty() ? "" : " ") + std::string(row_.windows[i].key);
        return keys;
    }

private:
    const ShellRow &row_;
    std::map<std::string, HWND> windows_;
};

TEST(StandInShells, EachExportOnEachShellStructure)
{
    for (const ShellRow &row : shellTable) {
        SCOPED_TRACE(row.windowsVersion);
        StandIn shell(row);
        ASSERT_TRUE(shell.complete()) << "every window of the stand-in was made";
        if (findTaskBar() != shell["bar"] || findDesktopIcons() != shell["progman"])
            GTEST_SKIP() << "the system's own shell windows come first in the search";
        for (int i = 0; i < exportCount; ++i) {
            auto call = reinterpret_cast<ShellExport>(kytest::exportAddress(exportNames[i]));
            ASSERT_NE(call, nullptr);
            const int result = call();
            EXPECT_EQ(result, row.outcomes[i].result) << exportNames[i] << " result";
            EXPECT_EQ(shell.hidden(), row.outcomes[i].hidden) << "hidden right after " << exportNames[i];
        }
    }
}

}  // namespace
