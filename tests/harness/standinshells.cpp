// The stand-in shells' window structures (see standinshells.h). The windows no shell
// export looks for (the task list, the icons' list view) are left out of every one.
#include "standinshells.h"

#include <string.h>

#include "kywindows.h"
#include "shell/shellwindows.h"

namespace kytest {

namespace {

// Windows XP: the task bar as Spy++ shows it since Windows 2000 (the start button is
// child 304, the notification area child 303 with the clock as its child 303), and the
// desktop icons' SHELLDLL_DefView inside Progman.
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

#define WINDOWS(table) table, sizeof table / sizeof table[0]

}  // namespace

const ShellStructure shellStructures[4] = {
    {"Windows XP", WINDOWS(windowsXp)},
    {"Windows 7", WINDOWS(windows7)},
    {"Windows 10", WINDOWS(windows10)},
    {"Windows 11", WINDOWS(windows11)},
};

const ShellStructure *shellStructure(const char *windowsVersion)
{
    for (const ShellStructure &s : shellStructures)
        if (strcmp(s.windowsVersion, windowsVersion) == 0)
            return &s;
    return nullptr;
}

StandInShell::StandInShell(const ShellStructure &structure) : structure_(structure)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    for (size_t i = 0; i < structure.windowCount; ++i) {
        const WindowRow &w = structure.windows[i];
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
    pumpMessages(20);
}

StandInShell::~StandInShell()
{
    for (size_t i = structure_.windowCount; i-- > 0;)
        if (!structure_.windows[i].parent)
            DestroyWindow(windows_[structure_.windows[i].key]);
}

bool StandInShell::complete() const
{
    for (const auto &w : windows_)
        if (!w.second)
            return false;
    return windows_.size() == structure_.windowCount;
}

std::string StandInShell::hidden() const
{
    std::string keys;
    for (size_t i = 0; i < structure_.windowCount; ++i)
        if (!(GetWindowLongA(windows_.at(structure_.windows[i].key), GWL_STYLE) & WS_VISIBLE))
            keys += (keys.empty() ? "" : " ") + std::string(structure_.windows[i].key);
    return keys;
}

}  // namespace kytest
