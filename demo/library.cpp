// Run-time binding of kydoru.dll: the library is loaded by name only when the first
// export is called, and each export is looked up by its own name at its first call,
// the address kept for later calls. The demo handles no errors: a missing library or
// export is reported in a message box and the program ends.
#include "library.h"

#include <stdio.h>

#include "exportbind.h"

namespace {

struct Binding {
    int index;  // the export's place in the table, which names it
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
    const char *name = kydoruExportNames[binding->index];
    binding->address = GetProcAddress(kydoru, name);
    if (!binding->address)
        failBinding(name);
    return binding->address;
}

// The export bound by its table entry. BOUND calls it through the table's prototype;
// BOUND_AS through the demo's own, for the few calls that pass more values than the
// export reads (the cdecl convention lets the export ignore them).
#define BOUND_AS(type, exportName)                                       \
    static Binding binding = {kydoru_index_##exportName, nullptr}; \
    type call = reinterpret_cast<type>(bind(&binding))
#define BOUND(exportName) BOUND_AS(kydoru_fn_##exportName, exportName)

typedef int(KYCALL *FourIntFn)(int, int, int, int);
typedef LRESULT(KYCALL *MonitorFn)(HWND);
typedef int(KYCALL *ClockFn)(int);

}  // namespace

void bindingFailureText(const char *exportName, char *out, size_t size)
{
    if (exportName)
        snprintf(out, size, "Can't find DLL entry point %s in kydoru.dll", exportName);
    else
        snprintf(out, size, "File not found: kydoru.dll");
}

namespace lib {

void setCapsLock(int wanted) { BOUND(kySetCapsLock); call(wanted); }
void setNumLock(int wanted) { BOUND(kySetNumLock); call(wanted); }
void flashWindow(HWND window, unsigned int count) { BOUND(kyFlashWindow); call(window, count); }
void hideTaskBar() { BOUND(kyHideTaskBar); call(); }
void showTaskBar() { BOUND(kyShowTaskBar); call(); }
void hideStartButton() { BOUND(kyHideStartButton); call(); }
void showStartButton() { BOUND(kyShowStartButton); call(); }
void hideSystemClock() { BOUND(kyHideSystemClock); call(); }
void showSystemClock() { BOUND(kyShowSystemClock); call(); }
void hideDesktopIcons() { BOUND(kyHideDesktopIcons); call(); }
void showDesktopIcons() { BOUND(kyShowDesktopIcons); call(); }

void getCurrentVideoMode(int *depth, int *width, int *height, int *rate)
{
    BOUND(kyGetCurrentVideoMode);
    call(depth, width, height, rate);
}

void changeVideoModePermanently(int a, int b, int c, int d)
{
    BOUND_AS(FourIntFn, kyChangeVideoModePermanently);
    call(a, b, c, d);
}

void removeWindowTrans(HWND window) { BOUND(kyRemoveWindowTrans); call(window); }
void setWTransparent(HWND window, int alpha) { BOUND(kySetWTransparent); call(window, alpha); }
void performReboot() { BOUND(kyPerformReboot); call(); }
void monitorOff(HWND window) { BOUND_AS(MonitorFn, kyMonitorOff); call(window); }
void systemPowerSuspend() { BOUND(kySystemPowerSuspend); call(); }
void systemPowerHibernate() { BOUND(kySystemPowerHibernate); call(); }
void systemDialogMP() { BOUND(kySystemDialogMP); call(); }
void systemDialogTD() { BOUND(kySystemDialogTD); call(); }
void getWSPath(char *buffer) { BOUND(kyGetWSPath); call(buffer); }
void hdId(int drive, int kind, char *buffer) { BOUND(kyHDid); call(drive, kind, buffer); }
int procSpeed() { BOUND(kyProcSpeed); return static_cast<int>(call()); }

void windowBmpEffect(HWND window, int effect, int blankMode)
{
    BOUND(kyWindowBmpEffect);
    call(window, effect, blankMode);
}

void desktopBmpEffect(int effect, int blankMode)
{
    BOUND(kyDesktopBmpEffect);
    call(effect, blankMode);
}

void windowD1(HWND window) { BOUND(kyWindowD1); call(window); }
void windowErase(HWND window) { BOUND(kyWindowErase); call(window); }
void softClock(int state) { BOUND_AS(ClockFn, kySoftClock); call(state); }
void logo() { BOUND(kyLogo); call(); }

}  // namespace lib
