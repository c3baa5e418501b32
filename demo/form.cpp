// kydemo's one window, Form1: builds the form from its layout table at the screen's
// real resolution, paints the frame lines and the logo picture, and routes control
// events to the handlers. Nothing of kydoru is loaded until the first event needs it.
#include <windows.h>
#include <ole2.h>

#include "controls.h"
#include "handlers.h"
#include "layout.h"
#include "picture.h"
#include "resource.h"

namespace {

const char pictureClass[] = "kyPictureBox";

// What the form draws with, created before the window and released after it.
struct FormLook {
    int dpiX, dpiY;
    HFONT formFont, bold12, bold135;
    HPEN linePen;
    HBITMAP picture;
    SIZE pictureSize;
};

struct FormContext {
    FormState state;
    FormLook *look;
    HWND lastFocus;
};

// Font `face` of `tenthsOfPoint` tenths of a point at the screen's vertical resolution.
HFONT makeFont(const char *face, int dpiY, int tenthsOfPoint, int weight)
{
    return CreateFontA(-MulDiv(tenthsOfPoint, dpiY, 720), 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

// Whether the system has the face itself, not a stand-in the font mapper picked for it.
bool hasFace(HDC screen, const char *face)
{
    HFONT font = makeFont(face, 96, 80, FW_NORMAL);
    if (!font)
        return false;
    char got[LF_FACESIZE] = "";
    HGDIOBJ previous = SelectObject(screen, font);
    GetTextFaceA(screen, LF_FACESIZE, got);
    SelectObject(screen, previous);
    DeleteObject(font);
    return lstrcmpiA(got, face) == 0;
}

// The form was designed in MS Sans Serif (8 pt, the designer's default, and the two bold
// labels' face), its captions sized for its widths. Its TrueType twin Microsoft Sans
// Serif has the same widths and stays sharp at any DPI, where the original is a bitmap
// font; Tahoma where neither exists.
const char *designFace(HDC screen)
{
    static const char *const faces[] = {"Microsoft Sans Serif", "MS Sans Serif"};
    for (const char *face : faces)
        if (screen && hasFace(screen, face))
            return face;
    return "Tahoma";
}

FormLook acquireLook(HINSTANCE instance)
{
    FormLook look = {};
    HDC screen = GetDC(NULL);
    look.dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    look.dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    const char *face = designFace(screen);
    if (screen)
        ReleaseDC(NULL, screen);
    look.formFont = makeFont(face, look.dpiY, 80, FW_NORMAL);
    look.bold12 = makeFont(face, look.dpiY, 120, FW_BOLD);
    look.bold135 = makeFont(face, look.dpiY, 135, FW_BOLD);
    look.linePen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    look.picture = loadEmbeddedPicture(instance, IDR_KYSLIKA, &look.pictureSize);
    return look;
}

void releaseLook(FormLook *look)
{
    if (look->picture)
        DeleteObject(look->picture);
    if (look->linePen)
        DeleteObject(look->linePen);
    if (look->bold135)
        DeleteObject(look->bold135);
    if (look->bold12)
        DeleteObject(look->bold12);
    if (look->formFont)
        DeleteObject(look->formFont);
}

HFONT fontFor(const FormLook *look, ControlFont font)
{
    switch (font) {
    case fontBold12: return look->bold12;
    case fontBold135: return look->bold135;
    default: return look->formFont;
    }
}

void paintPicture(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const FormLook *look = reinterpret_cast<const FormLook *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    RECT area;
    GetClientRect(window, &area);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (look && look->picture) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            HGDIOBJ previous = SelectObject(memory, look->picture);
            BitBlt(dc, 0, 0, look->pictureSize.cx, look->pictureSize.cy, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintPicture(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        // A picture box takes the focus when clicked, and does nothing else.
        SetFocus(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void paintForm(HWND form, const FormLook *look)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(form, &paint);
    HGDIOBJ previous = SelectObject(dc, look->linePen);
    for (size_t i = 0; i < formLineCount; ++i) {
        const LineDesign &line = formLines[i];
        MoveToEx(dc, twipsToPixels(line.x1, look->dpiX), twipsToPixels(line.y1, look->dpiY), NULL);
        LineTo(dc, twipsToPixels(line.x2, look->dpiX), twipsToPixels(line.y2, look->dpiY));
    }
    SelectObject(dc, previous);
    EndPaint(form, &paint);
}

HBRUSH colourLabel(HDC dc, HWND label)
{
    const ControlDesign *design = findControl(GetDlgCtrlID(label));
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    if (design && design->colour == colourActiveCaption)
        text = GetSysColor(COLOR_ACTIVECAPTION);
    else if (design && design->colour == colourHighlight)
        text = GetSysColor(COLOR_HIGHLIGHT);
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT CALLBACK formProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *context = reinterpret_cast<FormContext *>(GetWindowLongPtrA(form, GWLP_USERDATA));
    if (!context)
        return DefWindowProcA(form, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (lParam)
            handleCommand(&context->state, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        handleScroll(&context->state, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(colourLabel(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_PAINT:
        paintForm(form, context->look);
        return 0;
    case WM_ACTIVATE:
        // Keep the keyboard focus on the same control across deactivation.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(form, focus))
                context->lastFocus = focus;
        } else if (context->lastFocus && IsWindow(context->lastFocus)) {
            SetFocus(context->lastFocus);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(form, message, wParam, lParam);
}

bool registerClasses(HINSTANCE instance)
{
    WNDCLASSA form = {};
    form.lpfnWndProc = formProc;
    form.hInstance = instance;
    form.hCursor = LoadCursorA(NULL, reinterpret_cast<LPCSTR>(IDC_ARROW));
    form.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    form.lpszClassName = KYDEMO_FORM_CLASS;
    WNDCLASSA picture = {};
    picture.lpfnWndProc = pictureProc;
    picture.hInstance = instance;
    picture.hCursor = form.hCursor;
    picture.lpszClassName = pictureClass;
    return RegisterClassA(&form) && RegisterClassA(&picture);
}

HWND createControl(HWND form, HINSTANCE instance, const ControlDesign &design, const FormLook *look)
{
    const char *cls = "BUTTON";
    // Labels lie beneath the other controls (they are created last): clipping keeps a
    // label that overlaps a button from painting over it.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    switch (design.kind) {
    case kindButton: style |= WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE; break;
    case kindCheckBox: style |= WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE; break;
    case kindLabel: cls = "STATIC"; style |= SS_LEFT | SS_NOPREFIX; break;
    case kindClickLabel: cls = "STATIC"; style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY; break;
    case kindScrollBar: cls = "SCROLLBAR"; style |= WS_TABSTOP | SBS_HORZ; break;
    case kindPicture:
        // No border: the box is 201 pixels square at 96 dpi, and the whole 200 x 200
        // picture should show.
        cls = pictureClass;
        style |= WS_TABSTOP;
        break;
    }
    switch (captionLayout(design.id)) {
    case textLeftLines: style |= BS_LEFT; break;
    case textOneLine: style |= SS_LEFTNOWORDWRAP; break;
    case textDefault: break;
    }
    if (!design.enabled)
        style |= WS_DISABLED;
    HWND control = CreateWindowExA(
        0, cls, design.caption, style, twipsToPixels(design.left, look->dpiX), twipsToPixels(design.top, look->dpiY),
        twipsToPixels(design.width, look->dpiX), twipsToPixels(design.height, look->dpiY), form,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, NULL);
    if (!control)
        return NULL;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(look, design.font)), FALSE);
    if (design.kind == kindScrollBar) {
        SetScrollRange(control, SB_CTL, transparencyMin, transparencyMax, FALSE);
        SetScrollPos(control, SB_CTL, transparencyMax, TRUE);
    } else if (design.kind == kindPicture) {
        SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(look));
    }
    return control;
}

HWND createForm(HINSTANCE instance, FormContext *context)
{
    const FormLook *look = context->look;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, twipsToPixels(formClientWidth, look->dpiX), twipsToPixels(formClientHeight, look->dpiY)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.left + ((work.right - work.left) - width) / 2;
    int y = work.top + ((work.bottom - work.top) - height) / 2;
    HWND form = CreateWindowExA(0, KYDEMO_FORM_CLASS, KYDEMO_FORM_TITLE, style, x < work.left ? work.left : x,
                                y < work.top ? work.top : y, width, height, NULL, NULL, instance, context);
    if (!form)
        return NULL;
    for (size_t i = 0; i < formControlCount; ++i)
        createControl(form, instance, formControls[i], look);
    return form;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    // The picture decoder is an OLE object.
    HRESULT ole = OleInitialize(NULL);
    FormLook look = acquireLook(instance);
    FormContext context = {};
    context.look = &look;
    int result = 1;
    if (registerClasses(instance)) {
        HWND form = createForm(instance, &context);
        if (form) {
            initFormState(&context.state, form);
            ShowWindow(form, show);
            UpdateWindow(form);
            SetFocus(GetDlgItem(form, idCheck1));
            MSG msg;
            // The dialog manager gives the form Tab and arrow-key navigation in tab order.
            while (GetMessageA(&msg, NULL, 0, 0) > 0) {
                if (!IsDialogMessageA(form, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            result = static_cast<int>(msg.wParam);
        }
    }
    releaseLook(&look);
    if (SUCCEEDED(ole))
        OleUninitialize();
    return result;
}
