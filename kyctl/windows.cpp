// Finding the target windows: top-level windows the user can see, in z-order (topmost
// first), chosen by title, part of a title, class, process or program, compared as
// Unicode; handles are checked to be windows. kyctl never picks the window hosting its
// own console, whose title is often the command line itself.
#include <stdlib.h>

#include "platform.h"

namespace kyctl {

namespace {

// A window's title, whatever its length, in memory the caller frees.
wchar_t *windowTitle(HWND window)
{
    int length = GetWindowTextLengthW(window);
    wchar_t *title = static_cast<wchar_t *>(malloc((static_cast<size_t>(length) + 2) * sizeof(wchar_t)));
    if (!title)
        return nullptr;
    title[0] = L'\0';
    GetWindowTextW(window, title, length + 2);
    return title;
}

// UTF-16 of the selector's UTF-8 text, in memory the caller frees.
wchar_t *wideText(const char *text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, NULL, 0);
    wchar_t *wide = n > 0 ? static_cast<wchar_t *>(malloc(static_cast<size_t>(n) * sizeof(wchar_t))) : nullptr;
    if (wide)
        MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, n);
    return wide;
}

// Any case, as Windows upper-cases letters (in place).
void upper(wchar_t *text)
{
    CharUpperBuffW(text, static_cast<DWORD>(lstrlenW(text)));
}

// The file name of a process's program ("notepad.exe"), into out; false when the
// process can't be asked.
bool programName(DWORD processId, wchar_t *out, DWORD size)
{
    static wchar_t path[32768];
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    DWORD length = 32768;
    bool known = process && QueryFullProcessImageNameW(process, 0, path, &length);
    if (process)
        CloseHandle(process);
    if (!known)
        return false;
    const wchar_t *name = path;
    for (const wchar_t *p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    lstrcpynW(out, name, static_cast<int>(size));
    return true;
}

// Compares as --title, --class and --exe do: with * and ? unless the selector takes
// them literally.
bool sameText(const Selector &selector, const wchar_t *pattern, const wchar_t *text)
{
    if (!selector.literal && hasWildcard(selector.text))
        return wildcardMatch(pattern, text);
    return wcscmp(pattern, text) == 0;
}

struct Search {
    const Selector *selector;
    wchar_t *pattern;  // the selector's text as UTF-16, upper-cased where case doesn't count
    HWND *out;
    int room, found;
    HWND console, consoleHost;
};

bool textMatches(const Search &search, HWND window)
{
    const Selector &s = *search.selector;
    bool result = false;
    switch (s.kind) {
    case selTitle:
    case selTitleContains: {
        wchar_t *title = windowTitle(window);
        if (!title)
            return false;
        if (s.kind == selTitle) {
            result = sameText(s, search.pattern, title);
        } else {
            upper(title);
            result = wcsstr(title, search.pattern) != nullptr;
        }
        free(title);
        return result;
    }
    case selClass: {
        wchar_t name[260] = L"";
        GetClassNameW(window, name, 260);
        upper(name);
        return sameText(s, search.pattern, name);
    }
    case selPid:
    case selExe: {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (GetWindow(window, GW_OWNER))  // a process's main window has no owner
            return false;
        if (s.kind == selPid)
            return pid == s.number;
        wchar_t name[MAX_PATH] = L"";
        if (!programName(pid, name, MAX_PATH))
            return false;
        upper(name);
        return sameText(s, search.pattern, name);
    }
    default:
        return false;
    }
}

// Whether the user can see the window: shown, with an area, not cloaked, not a tool
// window (palettes and the like, which no one means by a title).
bool seen(HWND window)
{
    if (!IsWindowVisible(window) || (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        return false;
    RECT r;
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    return !systemCalls.cloaked(window);
}

// Whether the search takes this window: never kyctl's own console or its terminal, and
// only a window the user can see whose text matches.
bool chosen(const Search &search, HWND window)
{
    return window != search.console && window != search.consoleHost && seen(window) && textMatches(search, window);
}

BOOL CALLBACK visit(HWND window, LPARAM context)
{
    Search *search = reinterpret_cast<Search *>(context);
    if (!chosen(*search, window))
        return TRUE;
    search->out[search->found++] = window;
    return search->found < search->room;
}

// kyctl's console window and the window hosting it: a terminal (Windows Terminal and
// the like) owns the hidden pseudo-console window that GetConsoleWindow answers. The
// owners are walked by GW_OWNER, which, unlike GetParent, names the owner of a window
// that is not a pop-up too.
void consoleWindows(HWND *console, HWND *host)
{
    *console = systemCalls.consoleWindow();
    *host = *console ? GetAncestor(*console, GA_ROOT) : NULL;
    if (!*host)
        *host = *console;
    for (int depth = 0; *host && depth < 64; ++depth) {  // a chain of owners ends; bounded all the same
        HWND owner = GetWindow(*host, GW_OWNER);
        if (!owner)
            break;
        *host = owner;
    }
}

bool prepare(Search *search, const Selector &selector)
{
    consoleWindows(&search->console, &search->consoleHost);
    search->selector = &selector;
    search->pattern = nullptr;
    if (selector.kind == selTitle || selector.kind == selTitleContains || selector.kind == selClass ||
        selector.kind == selExe) {
        search->pattern = wideText(selector.text);
        if (!search->pattern)
            return false;
        if (selector.kind != selTitle)
            upper(search->pattern);
    }
    return true;
}

}  // namespace

int findWindows(const Selector &selector, HWND *out, int room, bool quiet)
{
    if (selector.kind == selHandle) {
        HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(selector.number));
        if (!IsWindow(window)) {
            if (!quiet)
                say("--hwnd 0x%llX: not a window", selector.number);
            return 0;
        }
        out[0] = window;
        return 1;
    }
    Search search = {};
    if (selector.kind == selActive) {
        consoleWindows(&search.console, &search.consoleHost);
        out[0] = GetForegroundWindow();
        if (out[0] && (out[0] == search.console || out[0] == search.consoleHost)) {
            if (!quiet)
                say("--active: the foreground window is the one running kyctl (its console or terminal); "
                    "choose the window by --title, --exe or another selector");
            return -1;
        }
        if (!out[0] && !quiet)
            say("--active: no window is in the foreground");
        return out[0] ? 1 : 0;
    }
    if (!prepare(&search, selector))
        return 0;
    search.out = out;
    search.room = room;
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    free(search.pattern);
    if (search.found == 0 && !quiet) {
        if (selector.kind == selPid)
            say("--pid %llu: that process has no visible top-level window", selector.number);
        else if (selector.kind == selExe)
            say("--exe \"%s\": no program of that name shows a visible top-level window", selector.text);
        else
            say("%s \"%s\": no visible top-level window matches", selector.option, selector.text);
    }
    return search.found;
}

bool selectorMatches(const Selector &selector, HWND window)
{
    if (!window)
        return false;
    if (selector.kind == selHandle)
        return reinterpret_cast<UINT_PTR>(window) == selector.number;
    Search search = {};
    if (!prepare(&search, selector))
        return false;
    bool match = chosen(search, window);
    free(search.pattern);
    return match;
}

bool reachable(const Selector &selector, const HWND *windows, int count)
{
    DWORD own = 0;
    if (!systemCalls.integrityLevel(0, &own))
        return true;
    for (int i = 0; i < count; ++i) {
        DWORD pid = 0, level = 0;
        GetWindowThreadProcessId(windows[i], &pid);
        // A level that can't be read proves nothing: only a higher one is refused.
        if (pid && systemCalls.integrityLevel(pid, &level) && level > own) {
            say("%s: window 0x%llX belongs to a program running with higher rights (elevated: integrity "
                "0x%lX, kyctl's 0x%lX), which Windows keeps kyctl from changing; run kyctl as administrator",
                selector.option, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(windows[i])),
                static_cast<unsigned long>(level), static_cast<unsigned long>(own));
            return false;
        }
    }
    return true;
}

WindowRecord describeWindow(HWND window, Text *buffer)
{
    WindowRecord record = {};
    record.handle = reinterpret_cast<UINT_PTR>(window);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    record.pid = pid;
    wchar_t *title = windowTitle(window);
    record.title = pieceFromWide(buffer, title ? title : L"");
    free(title);
    wchar_t name[MAX_PATH] = L"";
    GetClassNameW(window, name, MAX_PATH);
    record.className = pieceFromWide(buffer, name);
    if (programName(pid, name, MAX_PATH))
        record.exe = pieceFromWide(buffer, name);
    return record;
}

}  // namespace kyctl
