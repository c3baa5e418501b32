// Run-time binding of kydoru.dll: the library is loaded by name only when the first
// export is called, and each export is looked up by its own name at its first call,
// the address kept for later calls. The demo handles no errors: a missing library or
// export is reported in a message box and the program ends.
#include "library.h"

#include <stdio.h>

#include "exports.h"

namespace {

struct Binding {
    const char *name;
    FARPROC address;
};

HMODULE kydoru;

[[noreturn]] void failBinding(const char *exportName)
{
    char text[256];
    bindingFailureText(exportName, text, sizeof text);
    MessageBoxA(NULL, text, KYDEMO_TITLE, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(1);
}

FARPROC bind(Binding *binding)
{
    if (binding->address)
        return binding->address;
    if (!kydoru) {
        kydoru = LoadLibraryA("kydoru.dll");
        if (!kydoru)
            failBinding(nullptr);
    }
    binding->address = GetProcAddress(kydoru, binding->name);
    if (!binding->address)
        failBinding(binding->name);
    return binding->address;
}

// Each export's pointer type as the demo calls it (cdecl, the extra values included).
typedef void(KYCALL *VoidIntFn)(int);
typedef int(KYCALL *IntVoidFn)(void);
typedef int(KYCALL *IntWindowFn)(HWND);
typedef int(KYCALL *FlashFn)(HWND, unsigned int);
typedef int(KYCALL *VideoModeFn)(int *, int *, int *, int *);
typedef int(KYCALL *FourIntFn)(int, int, int, int);
typedef int(KYCALL *AlphaFn)(HWND, int);
typedef LRESULT(KYCALL *MonitorFn)(HWND);
typedef INT_PTR(KYCALL *DialogFn)(void);
typedef void(KYCALL *PathFn)(char *);
typedef int(KYCALL *DiskFn)(int, int, char *);
typedef unsigned int(KYCALL *SpeedFn)(void);
typedef int(KYCALL *WindowEffectFn)(HWND, int, int);
typedef int(KYCALL *DesktopEffectFn)(int, int);
typedef int(KYCALL *ClockFn)(int);

#define BOUND(type, exportName)                        \
    static Binding binding = {#exportName, nullptr}; \
    type call = reinterpret_cast<type>(bind(&binding))

}  // namespace

void bindingFailureText(const char *exportName, char *out, size_t size)
{
    if (exportName)
        snprintf(out, size, "Can't find DLL entry point %s in kydoru.dll", exportName);
    else
        snprintf(out, size, "File not found: kydoru.dll");
}

namespace lib {

void setCapsLock(int wanted) { BOUND(VoidIntFn, kySetCapsLock); call(wanted); }
void setNumLock(int wanted) { BOUND(VoidIntFn, kySetNumLock); call(wanted); }
void flashWindow(HWND window, unsigned int count) { BOUND(FlashFn, kyFlashWindow); call(window, count); }
void hideTaskBar() { BOUND(IntVoidFn, kyHideTaskBar); call(); }
void showTaskBar() { BOUND(IntVoidFn, kyShowTaskBar); call(); }
void hideStartButton() { BOUND(IntVoidFn, kyHideStartButton); call(); }
void showStartButton() { BOUND(IntVoidFn, kyShowStartButton); call(); }
void hideSystemClock() { BOUND(IntVoidFn, kyHideSystemClock); call(); }
void showSystemClock() { BOUND(IntVoidFn, kyShowSystemClock); call(); }
void hideDesktopIcons() { BOUND(IntVoidFn, kyHideDesktopIcons); call(); }
void showDesktopIcons() { BOUND(IntVoidFn, kyShowDesktopIcons); call(); }

void getCurrentVideoMode(int *depth, int *width, int *height, int *rate)
{
    BOUND(VideoModeFn, kyGetCurrentVideoMode);
    call(depth, width, height, rate);
}

void changeVideoModePermanently(int a, int b, int c, int d)
{
    BOUND(FourIntFn, kyChangeVideoModePermanently);
    call(a, b, c, d);
}

void removeWindowTrans(HWND window) { BOUND(IntWindowFn, kyRemoveWindowTrans); call(window); }
void setWTransparent(HWND window, int alpha) { BOUND(AlphaFn, kySetWTransparent); call(window, alpha); }
void performReboot() { BOUND(IntVoidFn, kyPerformReboot); call(); }
void monitorOff(HWND window) { BOUND(MonitorFn, kyMonitorOff); call(window); }
void systemPowerSuspend() { BOUND(IntVoidFn, kySystemPowerSuspend); call(); }
void systemPowerHibernate() { BOUND(IntVoidFn, kySystemPowerHibernate); call(); }
void systemDialogMP() { BOUND(DialogFn, kySystemDialogMP); call(); }
void systemDialogTD() { BOUND(DialogFn, kySystemDialogTD); call(); }
void getWSPath(char *buffer) { BOUND(PathFn, kyGetWSPath); call(buffer); }
void hdId(int drive, int kind, char *buffer) { BOUND(DiskFn, kyHDid); call(drive, kind, buffer); }
int procSpeed() { BOUND(SpeedFn, kyProcSpeed); return static_cast<int>(call()); }

void windowBmpEffect(HWND window, int effect, int blankMode)
{
    BOUND(WindowEffectFn, kyWindowBmpEffect);
    call(window, effect, blankMode);
}

void desktopBmpEffect(int effect, int blankMode)
{
    BOUND(DesktopEffectFn, kyDesktopBmpEffect);
    call(effect, blankMode);
}

void windowD1(HWND window) { BOUND(IntWindowFn, kyWindowD1); call(window); }
void windowErase(HWND window) { BOUND(IntWindowFn, kyWindowErase); call(window); }
void softClock(int state) { BOUND(ClockFn, kySoftClock); call(state); }
void logo() { BOUND(IntVoidFn, kyLogo); call(); }

}  // namespace lib
