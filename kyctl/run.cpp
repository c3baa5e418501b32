// Carrying out a request: find the target, call the export, report. Nothing here does
// what an export does; results are read as the public header documents them, and what
// is printed is made by the formatting functions from the values gathered here.
#include "platform.h"
#include "shell/shellwindows.h"

namespace kyctl {

int failed(const char *exportName, DWORD error, const char *format, ...)
{
    char what[1024];
    Text whatText = textOver(what, sizeof what);
    va_list args;
    va_start(args, format);
    textFormatList(&whatText, format, args);
    va_end(args);
    if (error) {
        char whyText[512];
        Text why = textOver(whyText, sizeof whyText);
        systemErrorText(error, &why);
        say("%s: %s: %s", exportName, what, whyText);
    } else {
        say("%s: %s", exportName, what);
    }
    return exitFailed;
}

namespace {

const char *displayChangeName(int code)
{
    switch (code) {
    case DISP_CHANGE_SUCCESSFUL: return "DISP_CHANGE_SUCCESSFUL";
    case DISP_CHANGE_RESTART: return "DISP_CHANGE_RESTART";
    case DISP_CHANGE_FAILED: return "DISP_CHANGE_FAILED";
    case DISP_CHANGE_BADMODE: return "DISP_CHANGE_BADMODE";
    case DISP_CHANGE_NOTUPDATED: return "DISP_CHANGE_NOTUPDATED";
    case DISP_CHANGE_BADFLAGS: return "DISP_CHANGE_BADFLAGS";
    case DISP_CHANGE_BADPARAM: return "DISP_CHANGE_BADPARAM";
    default: return "an unknown code";
    }
}

// A display switch: 0 is success, DISP_CHANGE_RESTART a stored mode waiting for a restart.
int displaySwitch(const char *exportName, int code, const char *done)
{
    if (code == DISP_CHANGE_SUCCESSFUL)
        return exitDone;
    if (code == DISP_CHANGE_RESTART) {
        say("%s: %s; it takes effect after a restart", exportName, done);
        return exitDone;
    }
    return failed(exportName, 0, "the display refused (%s, %d)", displayChangeName(code), code);
}

int runMode(const Request &r, const KydoruExports &ky)
{
    char buffer[256];
    Text out = textOver(buffer, sizeof buffer);
    if (r.action == actMode) {
        ModeRecord mode = {};
        DWORD error = 0;
        if (!clearedCall(&error, [&] {
                return ky.kyGetCurrentVideoMode(&mode.bitsPerPixel, &mode.width, &mode.height, &mode.refreshRate);
            }))
            return failed(EXPORT_NAME(kyGetCurrentVideoMode), error, "no screen device context");
        formatMode(&out, r.json, mode);
        writeText(STD_OUTPUT_HANDLE, out);
        return exitDone;
    }
    if (r.action == actModeCheck) {
        int code = ky.kyCanChangeVideoMode();
        formatModeCheck(&out, r.json, code);
        writeText(STD_OUTPUT_HANDLE, out);
        if (code == 0)
            return exitDone;
        return failed(EXPORT_NAME(kyCanChangeVideoMode), 0, "1024x768x32 refused (%s, %d)", displayChangeName(code),
                      code);
    }
    if (r.action == actModeTemporary)
        return displaySwitch(EXPORT_NAME(kyChangeVideoModeTemporarily), ky.kyChangeVideoModeTemporarily(), "");
    if (r.action == actModePermanent)
        return displaySwitch(EXPORT_NAME(kyChangeVideoModePermanently), ky.kyChangeVideoModePermanently(),
                             "1024x768x32 is stored");
    if (r.action == actFullscreen)
        return displaySwitch(EXPORT_NAME(kyFullScreen), ky.kyFullScreen(), "");
    ky.kyCancelFullScreen();  // its result is a cursor count, not a verdict
    return exitDone;
}

int runWindows(const Request &r, const KydoruExports &ky)
{
    static HWND targets[maxWindows];
    int count = findWindows(r.target, targets, r.all ? maxWindows : 1, false);
    if (count <= 0)
        return exitUsage;
    HWND source = NULL;
    if (r.action == actCopyEffect && findWindows(r.source, &source, 1, false) <= 0)
        return exitUsage;
    if (!reachable(r.target, targets, count))
        return exitFailed;
    for (int i = 0; i < count; ++i) {
        HWND window = targets[i];
        switch (r.action) {
        case actTransparent: ky.kySetWTransparent(window, r.alpha); break;
        case actOpaque: ky.kyRemoveWindowTrans(window); break;
        case actFlash: ky.kyFlashWindow(window, static_cast<unsigned>(r.count)); break;
        case actEffect: ky.kyWindowBmpEffect(window, r.effect, r.blank); break;
        case actCopyEffect: ky.kyWindowBmpEffect2(window, source, r.effect); break;
        case actErase: ky.kyWindowErase(window); break;
        default: ky.kyWindowD1(window); break;
        }
    }
    return exitDone;
}

// The start button and the clock have a window to hide only where the shell makes one:
// kyctl looks with the library's own lookups first and says plainly when there is none,
// rather than call an export that would change nothing and return 0 (which, from the
// start button's export, also means "was hidden already").
bool elementHasWindow(const Request &r)
{
    const char *done = r.show ? "nothing was shown" : "nothing was hidden";
    if (!findTaskBar()) {
        say("%s: there is no task bar (no shell runs, or another shell than Explorer); %s", r.command->name, done);
        return false;
    }
    bool start = r.action == actStartButton;
    if (start ? findStartButton() : findTrayClock())
        return true;
    say("%s: the %s is no window of its own on this Windows (Windows 11 draws it inside the task bar%s); %s",
        r.command->name, start ? "start button" : "task bar clock",
        start ? ", and Windows 7's round start orb is no part of the task bar" : "", done);
    return false;
}

int runShell(const Request &r, const KydoruExports &ky)
{
    // Their results are ShowWindow's "was visible": 0 is not a failure.
    switch (r.action) {
    case actTaskbar: r.show ? ky.kyShowTaskBar() : ky.kyHideTaskBar(); return exitDone;
    case actIcons: r.show ? ky.kyShowDesktopIcons() : ky.kyHideDesktopIcons(); return exitDone;
    case actDesktopWindow: r.show ? ky.kyShowDesktop() : ky.kyHideDesktop(); return exitDone;
    default: break;
    }
    if (!elementHasWindow(r))
        return exitFailed;
    if (r.action == actStartButton) {
        r.show ? ky.kyShowStartButton() : ky.kyHideStartButton();
        return exitDone;
    }
    // The clock's exports return UpdateWindow's verdict: 0 when the clock went meanwhile.
    if (r.show ? ky.kyShowSystemClock() : ky.kyHideSystemClock())
        return exitDone;
    return failed(r.show ? EXPORT_NAME(kyShowSystemClock) : EXPORT_NAME(kyHideSystemClock), 0,
                  "the task bar clock could not be redrawn");
}

int runLock(const Request &r, const KydoruExports &ky)
{
    // A new thread's key state need not follow the keyboard yet (it follows the input
    // it takes, and kyctl takes none), and both the state shown and the library's own
    // test read it: share the input state of the foreground window's thread, which is
    // the state the user sees, for the length of the call.
    HWND foreground = GetForegroundWindow();
    DWORD self = GetCurrentThreadId(), seen = foreground ? GetWindowThreadProcessId(foreground, NULL) : 0;
    bool attached = seen && seen != self && AttachThreadInput(self, seen, TRUE);

    bool caps = r.action == actCapsLockState || r.action == actCapsLockSet;
    // Under Wine the thread's view is brought up to date by a look at the keyboard's own
    // state (GetAsyncKeyState); on Windows the look changes nothing.
    GetAsyncKeyState(caps ? VK_CAPITAL : VK_NUMLOCK);
    bool on = (GetKeyState(caps ? VK_CAPITAL : VK_NUMLOCK) & 1) != 0;
    if (r.action == actCapsLockState || r.action == actNumLockState) {
        char buffer[64];
        Text out = textOver(buffer, sizeof buffer);
        formatLockState(&out, r.json, caps, on);
        writeText(STD_OUTPUT_HANDLE, out);
    } else {
        int wanted = r.lock == lockToggle ? !on : r.lock;
        (caps ? ky.kySetCapsLock : ky.kySetNumLock)(wanted);
    }
    if (attached)
        AttachThreadInput(self, seen, FALSE);
    return exitDone;
}

int runPower(const Request &r, const KydoruExports &ky)
{
    if (r.action == actMonitorOff) {
        ky.kyMonitorOff();  // SendMessage's result: nothing to judge
        return exitDone;
    }
    DWORD error = 0;
    if (r.action == actReboot)
        return clearedCall(&error, ky.kyPerformReboot)
                   ? exitDone
                   : failed(EXPORT_NAME(kyPerformReboot), error, "the restart was refused");
    if (r.action == actSuspend)
        return clearedCall(&error, ky.kySystemPowerSuspend)
                   ? exitDone
                   : failed(EXPORT_NAME(kySystemPowerSuspend), error, "sleep was refused");
    return clearedCall(&error, ky.kySystemPowerHibernate)
               ? exitDone
               : failed(EXPORT_NAME(kySystemPowerHibernate), error, "hibernation was refused");
}

int runDisk(const Request &r, const KydoruExports &ky)
{
    int first = r.disk < 0 ? 0 : r.disk, last = r.disk < 0 ? 3 : r.disk, found = 0;
    DiskRecord disks[4];
    static char textBuffer[4 * 3 * 200];
    Text texts = textOver(textBuffer, sizeof textBuffer);
    for (int index = first; index <= last; ++index) {
        char model[64] = "", serialNumber[64] = "", revision[64] = "";
        if (!ky.kyHDid(index, 1, model))
            continue;
        ky.kyHDid(index, 2, serialNumber);
        ky.kyHDid(index, 3, revision);
        const char *modelText = pieceFromAnsi(&texts, model);
        const char *serialText = pieceFromAnsi(&texts, serialNumber);
        disks[found++] = {index, modelText, serialText, pieceFromAnsi(&texts, revision)};
    }
    static char buffer[4096];
    Text out = textOver(buffer, sizeof buffer);
    formatDisks(&out, r.json, disks, found);
    writeText(STD_OUTPUT_HANDLE, out);
    if (found == 0 && r.disk >= 0) {
        return failed(EXPORT_NAME(kyHDid), 0, "disk %d did not answer", r.disk);
    }
    if (found == 0 && !r.json)
        say("no disk answered");
    return exitDone;
}

int runApplet(const Request &r, const KydoruExports &ky)
{
    // ShellExecute wants COM on the calling thread; ole32 is loaded for this command
    // only. Without it most applets still open, so kyctl goes on.
    typedef HRESULT(WINAPI * CoInitializeExFn)(LPVOID, DWORD);
    CoInitializeExFn initialize = systemFunction<CoInitializeExFn>("ole32.dll", "CoInitializeEx");
    if (initialize)
        initialize(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INT_PTR result = r.applet == 0 ? ky.kySystemDialogMP() : ky.kySystemDialogTD();
    if (result > 32)
        return exitDone;
    return failed(r.applet == 0 ? EXPORT_NAME(kySystemDialogMP) : EXPORT_NAME(kySystemDialogTD), 0,
                  "the applet did not start (ShellExecute code %d)", static_cast<int>(result));
}

int runSystem(const Request &r, const KydoruExports &ky)
{
    if (r.action == actCpu) {
        unsigned int mhz = ky.kyProcSpeed();
        if (!mhz)
            return failed(EXPORT_NAME(kyProcSpeed), 0, "the processor's clock rate is not recorded");
        char buffer[64];
        Text out = textOver(buffer, sizeof buffer);
        formatCpu(&out, r.json, mhz);
        writeText(STD_OUTPUT_HANDLE, out);
        return exitDone;
    }
    if (r.action == actSysdir) {
        char path[MAX_PATH + 1] = "";
        ky.kyGetWSPath(path);
        if (!path[0])
            return failed(EXPORT_NAME(kyGetWSPath), 0, "the system directory could not be had");
        char converted[MAX_PATH * 3 + 1], buffer[4096];
        Text text = textOver(converted, sizeof converted), out = textOver(buffer, sizeof buffer);
        textFromAnsi(&text, path);
        formatSysdir(&out, r.json, converted);
        writeText(STD_OUTPUT_HANDLE, out);
        return exitDone;
    }
    if (r.action == actDisk)
        return runDisk(r, ky);
    return runApplet(r, ky);
}

}  // namespace

int run(const Request &r, const KydoruExports &ky)
{
    switch (r.action) {
    case actModeMonitor:
        return runModeOfMonitor(r);
    case actMonitors:
        return runMonitors(r);
    case actMode: case actModeCheck: case actModeTemporary: case actModePermanent: case actFullscreen:
    case actFullscreenCancel:
        return runMode(r, ky);
    case actTransparent: case actOpaque: case actFlash: case actEffect: case actCopyEffect: case actErase:
    case actSweep:
        return runWindows(r, ky);
    case actEffectDesktop:
        ky.kyDesktopBmpEffect(r.effect, r.blank);
        return exitDone;
    case actTaskbar: case actStartButton: case actTrayClock: case actIcons: case actDesktopWindow:
        return runShell(r, ky);
    case actDesktopSwitch:
        return runDesktopSwitch(r, ky);
    case actCapsLockState: case actCapsLockSet: case actNumLockState: case actNumLockSet:
        return runLock(r, ky);
    case actMonitorOff: case actReboot: case actSuspend: case actHibernate:
        return runPower(r, ky);
    case actCpu: case actDisk: case actSysdir: case actApplet:
        return runSystem(r, ky);
    case actSerial:
        return runSerial(r, ky);
    case actClock:
        ky.kySoftClock();  // runs until the clock closes; its result is a constant
        return exitDone;
    case actLogo:
        return ky.kyLogo() == -1 ? failed(EXPORT_NAME(kyLogo), 0, "the show's window class could not be registered")
                                 : exitDone;
    case actWaitAppear: case actWaitGone: case actWaitActive:
        return runWait(r);
    default:
        return exitUsage;
    }
}

}  // namespace kyctl
