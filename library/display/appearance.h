// Window transparency and flashing: the values the exports hand to the system, computed
// apart from the calls so they can be checked directly, and the names of the optional
// functions, which are looked up at every call rather than linked.
#pragma once
#include <windows.h>

// Where the optional appearance functions are looked up. Tests point `module` at a
// library without them to exercise the fallbacks.
struct AppearanceLookup {
    const char *module;
    const char *setLayeredAttributes;
    const char *flashWindowEx;
};
extern AppearanceLookup appearanceLookup;

typedef BOOL(WINAPI *SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);
typedef BOOL(WINAPI *FlashWindowExFn)(PFLASHWINFO);

// White pixels of a transparent window are see-through.
enum : COLORREF { transparentColourKey = 0xFFFFFF };
// A window is never made fainter than this through the values 0 to 255.
enum { alphaFloor = 220 };

// The alpha byte for a caller's value: below the floor (negative values too) it is
// raised to the floor, above 255 it is lowered to 255 (opaque).
BYTE layeredAlpha(int alpha);

// The flash request: caption and task-bar button, `count` times, at the cursor blink rate.
void buildFlashRequest(FLASHWINFO *request, HWND window, UINT count);
