// A stand-in kydoru.dll that reports from inside the program that loaded it, where alone
// that process's DPI awareness and its controls' fonts can be seen: at the first export
// called it writes inside.log beside itself with the awareness, the system DPI, the file
// that draws the buttons and, for each captioned control of a kydemo form on the calling
// thread, how its caption fits the control in the font it is drawn with. Made from the
// export table, so kyctl binds it as well as kydemo does.
#define _WIN32_WINNT 0x0A00
#include <windows.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "../../demo/controls.h"
#include "exporttable.h"

namespace {

HMODULE self;
bool observed;
FILE *report;

int textWidth(HDC dc, const wchar_t *text, int length)
{
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, length, &size);
    return size.cx;
}

// The width a control breaks its caption to: a label's client width; a push button's
// less its frame (the theme's content margins, else the 2-pixel raised edge each side); a
// check box's less the box (the theme's, else 12 pixels at 96 dpi and its edge) and a
// gap of half a digit.
int captionWidth(HWND control, HDC dc, bool button, bool checkBox, int dpi)
{
    RECT client, room;
    GetClientRect(control, &client);
    room = client;
    if (!button)
        return client.right;
    HTHEME theme = OpenThemeData(control, L"Button");
    int part = checkBox ? BP_CHECKBOX : BP_PUSHBUTTON;
    SIZE box = {12 * dpi / 96 + 1, 0};
    if (theme) {
        GetThemeBackgroundContentRect(theme, dc, part, 1, &client, &room);
        if (checkBox)
            GetThemePartSize(theme, dc, part, 1, NULL, TS_DRAW, &box);
        CloseThemeData(theme);
    } else if (!checkBox) {
        InflateRect(&room, -2, -2);
    }
    if (checkBox)
        room.left += box.cx + textWidth(dc, L"0", 1) / 2;
    return room.right - room.left;
}

// One line per captioned control: the size of its client area that shows, the width its
// caption is broken to, the font's line height, the caption's one-line extent, and the
// lines it takes and the widest of them as the control breaks it. A button measures its
// caption first, then draws it within the width of the widest line measured, where it
// is broken again (Wine then counts a blank after a line against it); both breaks are
// made here. A one-line label shows its trailing blanks as nothing.
BOOL CALLBACK measureControl(HWND control, LPARAM dpi)
{
    wchar_t text[256] = L"";
    char cls[16] = "", caption[512];
    GetWindowTextW(control, text, 256);
    RealGetWindowClassA(control, cls, sizeof cls);
    bool button = lstrcmpiA(cls, "Button") == 0;
    HDC dc = text[0] && (button || lstrcmpiA(cls, "Static") == 0) ? GetDC(control) : NULL;
    if (!dc)
        return TRUE;
    LONG style = GetWindowLongW(control, GWL_STYLE);
    bool checkBox = button && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    int width = captionWidth(control, dc, button, checkBox, static_cast<int>(dpi));
    int length = static_cast<int>(wcslen(text)), shown = length;
    long lines = 1, widest = 0;
    if (!button && (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
        while (shown > 0 && text[shown - 1] == L' ')
            --shown;
        widest = textWidth(dc, text, shown);
    } else {
        UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT;
        if (button && !checkBox && (style & BS_CENTER) != BS_LEFT)
            format |= DT_CENTER;
        RECT broken = {0, 0, width, 0};
        DrawTextW(dc, text, -1, &broken, format);
        if (button) {
            broken = {0, 0, broken.right - broken.left, 0};
            DrawTextW(dc, text, -1, &broken, format);
        }
        lines = metrics.tmHeight > 0 ? broken.bottom / metrics.tmHeight : 0;
        widest = broken.right - broken.left;
    }
    RECT client;
    GetClientRect(control, &client);
    // A label lies beneath the buttons: one laid over its lower part hides what is there.
    RECT place, over;
    GetWindowRect(control, &place);
    for (HWND other = GetWindow(control, GW_HWNDFIRST); !button && other; other = GetWindow(other, GW_HWNDNEXT)) {
        char otherClass[16] = "";
        RealGetWindowClassA(other, otherClass, sizeof otherClass);
        GetWindowRect(other, &over);
        if (lstrcmpiA(otherClass, "Button") == 0 && over.top > place.top && IntersectRect(&over, &over, &place))
            client.bottom = over.top - place.top < client.bottom ? over.top - place.top : client.bottom;
    }
    WideCharToMultiByte(CP_UTF8, 0, text, -1, caption, sizeof caption, NULL, NULL);
    fprintf(report, "control %d shown %ld %ld width %d line %ld extent %d lines %ld widest %ld caption %s\n",
            GetDlgCtrlID(control), client.right, client.bottom, width, metrics.tmHeight,
            textWidth(dc, text, length), lines, widest, caption);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return TRUE;
}

BOOL CALLBACK findForm(HWND window, LPARAM found)
{
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, KYDEMO_FORM_CLASS) == 0)
        *reinterpret_cast<HWND *>(found) = window;
    return strcmp(cls, KYDEMO_FORM_CLASS) != 0;
}

void observe()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = strrchr(path, '\\');
    if (observed || !slash)
        return;
    observed = true;
    strcpy(slash + 1, "inside.log");
    if (!(report = fopen(path, "w")))
        return;
    DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
    fprintf(report, "awareness %d\n", static_cast<int>(GetAwarenessFromDpiAwarenessContext(context)));
    fprintf(report, "permonitorv2 %s\n", !IsValidDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)
                                             ? "unsupported"
                                         : AreDpiAwarenessContextsEqual(context, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)
                                             ? "yes"
                                             : "no");
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(NULL, screen);
    fprintf(report, "dpi %u screen %d\n", GetDpiForSystem(), dpi);
    HWND form = NULL;
    EnumThreadWindows(GetCurrentThreadId(), findForm, reinterpret_cast<LPARAM>(&form));
    if (form) {
        RECT client;
        GetClientRect(form, &client);
        fprintf(report, "form %ld %ld\n", client.right, client.bottom);
        // The file whose window procedure drives the form's buttons.
        HMODULE owner = NULL;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(GetWindowLongPtrW(GetDlgItem(form, idCommand1), GWLP_WNDPROC)),
                           &owner);
        GetModuleFileNameA(owner, path, MAX_PATH);
        fprintf(report, "buttons %s\n", path);
        EnumChildWindows(form, measureControl, dpi);
    }
    fprintf(report, "end\n");
    fclose(report);
}

template <typename Result> Result nothing()
{
    return Result(0);
}
template <> void nothing<void>() {}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

#define KYDEMO_PROBE_EXPORT(ordinal, name, result, params, args) \
    extern "C" __declspec(dllexport) result __cdecl name params   \
    {                                                             \
        observe();                                                \
        return nothing<result>();                                 \
    }
KYDORU_EXPORT_TABLE(KYDEMO_PROBE_EXPORT)
