// Finding the target windows: visible top-level windows in z-order (topmost first),
// chosen by title, part of a title, class or process; handles are checked to be windows.
#include <stdio.h>
#include <string.h>

#include "platform.h"

namespace kyctl {

namespace {

struct Search {
    const Selector *selector;
    HWND *out;
    int room, found;
    HWND console;  // kyctl's own console window, whose title holds the command line
};

bool containsAnyCase(const char *text, const char *part)
{
    char a[512], b[512];
    lstrcpynA(a, text, sizeof a);
    lstrcpynA(b, part, sizeof b);
    CharLowerA(a);
    CharLowerA(b);
    return strstr(a, b) != nullptr;
}

bool matches(HWND window, const Selector &selector)
{
    char text[512];
    switch (selector.kind) {
    case selTitle:
        GetWindowTextA(window, text, sizeof text);
        return strcmp(text, selector.text) == 0;
    case selTitleContains:
        GetWindowTextA(window, text, sizeof text);
        return containsAnyCase(text, selector.text);
    case selClass:
        GetClassNameA(window, text, sizeof text);
        return lstrcmpiA(text, selector.text) == 0;
    case selPid: {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        return pid == selector.number && !GetWindow(window, GW_OWNER);
    }
    default:
        return false;
    }
}

BOOL CALLBACK visit(HWND window, LPARAM context)
{
    Search *search = reinterpret_cast<Search *>(context);
    if (window == search->console || !IsWindowVisible(window) || !matches(window, *search->selector))
        return TRUE;
    search->out[search->found++] = window;
    return search->found < search->room;
}

}  // namespace

int findWindows(const Selector &selector, HWND *out, int room)
{
    if (selector.kind == selHandle) {
        HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(selector.number));
        if (!IsWindow(window)) {
            fprintf(stderr, "kyctl: --hwnd 0x%llX: not a window\n", selector.number);
            return 0;
        }
        out[0] = window;
        return 1;
    }
    if (selector.kind == selActive) {
        out[0] = GetForegroundWindow();
        if (!out[0]) {
            fprintf(stderr, "kyctl: --active: no window is in the foreground\n");
            return 0;
        }
        return 1;
    }
    Search search = {&selector, out, room, 0, GetConsoleWindow()};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    if (search.found == 0) {
        if (selector.kind == selPid)
            fprintf(stderr, "kyctl: --pid %llu: that process has no visible top-level window\n", selector.number);
        else
            fprintf(stderr, "kyctl: %s \"%s\": no visible top-level window matches\n", selector.option, selector.text);
    }
    return search.found;
}

}  // namespace kyctl
