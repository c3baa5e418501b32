// Layered-window transparency for a caller's top-level window. SetLayeredWindowAttributes
// is looked up at each call so the library still loads where layered windows don't exist;
// there the window simply stays opaque.
#include "exports.h"
#include "display/appearance.h"

AppearanceLookup appearanceLookup = {"user32", "SetLayeredWindowAttributes", "FlashWindowEx"};

BYTE layeredAlpha(int alpha)
{
    if (alpha < alphaFloor)
        alpha = alphaFloor;
    // Keeping only the low byte would turn 256 into 0, an invisible window.
    if (alpha > 255)
        alpha = 255;
    return static_cast<BYTE>(alpha);
}

extern "C" int KYCALL kySetWTransparent(HWND window, int alpha)
{
    HMODULE user32 = LoadLibraryA(appearanceLookup.module);
    auto setAttributes = user32 ? reinterpret_cast<SetLayeredWindowAttributesFn>(
                                      GetProcAddress(user32, appearanceLookup.setLayeredAttributes))
                                : nullptr;
    if (setAttributes) {
        SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
        setAttributes(window, transparentColourKey, layeredAlpha(alpha), LWA_COLORKEY | LWA_ALPHA);
    }
    // Without the function nothing changes, not even the style: a layered window with no
    // attributes would not be drawn at all.
    if (user32)
        FreeLibrary(user32);
    return 1;
}

extern "C" int KYCALL kyRemoveWindowTrans(HWND window)
{
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    // The window was composed by the system while layered; it must paint itself again.
    RedrawWindow(window, NULL, NULL, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    return 1;
}
