// Carrying out a request: find the target, call the export, report. Nothing here does
// what an export does; results are read as the public header documents them.
#include <stdio.h>
#include <string.h>

#include "platform.h"

namespace kyctl {

namespace {

int failed(const char *exportName, const char *what, bool withSystemText)
{
    if (withSystemText) {
        DWORD error = GetLastError();
        if (error) {
            char why[256];
            systemErrorText(error, why, sizeof why);
            fprintf(stderr, "kyctl: %s: %s: %s\n", exportName, what, why);
            return exitFailed;
        }
    }
    fprintf(stderr, "kyctl: %s: %s\n", exportName, what);
    return exitFailed;
}

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
    if (code == DISP_CHANGE_SUCCESSFUL) {
        return exitDone;
    }
    if (code == DISP_CHANGE_RESTART) {
        fprintf(stderr, "kyctl: %s: %s; it takes effect after a restart\n", exportName, done);
        return exitDone;
    }
    char what[96];
    snprintf(what, sizeof what, "the display refused (%s, %d)", displayChangeName(code), code);
    return failed(exportName, what, false);
}

void printJsonField(const char *name, const char *text, bool last)
{
    static char quoted[2200];
    if (!jsonString(text, strlen(text), quoted, sizeof quoted))
        strcpy(quoted, "\"\"");
    printf("\"%s\":%s%s", name, quoted, last ? "" : ",");
}

int runMode(const Request &r, const KydoruExports &ky)
{
    if (r.action == actMode) {
        int depth = 0, width = 0, height = 0, rate = 0;
        if (!ky.kyGetCurrentVideoMode(&depth, &width, &height, &rate))
            return failed("kyGetCurrentVideoMode", "no screen device context", true);
        if (r.json)
            printf("{\"width\":%d,\"height\":%d,\"bitsPerPixel\":%d,\"refreshRate\":%d}\n", width, height, depth, rate);
        else if (rate <= 1)  // 0 and 1 stand for the adapter's default rate
            printf("%dx%d, %d bits per pixel, default refresh rate\n", width, height, depth);
        else
            printf("%dx%d, %d bits per pixel, %d Hz\n", width, height, depth, rate);
        return exitDone;
    }
    if (r.action == actModeCheck) {
        int code = ky.kyCanChangeVideoMode();
        if (r.json)
            printf("{\"mode\":\"1024x768x32\",\"accepted\":%s,\"code\":%d}\n", code == 0 ? "true" : "false", code);
        else
            printf(code == 0 ? "1024x768x32 accepted\n" : "1024x768x32 refused\n");
        if (code != 0) {
            char what[96];
            snprintf(what, sizeof what, "1024x768x32 refused (%s, %d)", displayChangeName(code), code);
            return failed("kyCanChangeVideoMode", what, false);
        }
        return exitDone;
    }
    if (r.action == actModeTemporary)
        return displaySwitch("kyChangeVideoModeTemporarily", ky.kyChangeVideoModeTemporarily(), "");
    if (r.action == actModePermanent)
        return displaySwitch("kyChangeVideoModePermanently", ky.kyChangeVideoModePermanently(),
                             "1024x768x32 is stored");
    if (r.action == actFullscreen)
        return displaySwitch("kyFullScreen", ky.kyFullScreen(), "");
    ky.kyCancelFullScreen();  // its result is a cursor count, not a verdict
    return exitDone;
}

int runWindows(const Request &r, const KydoruExports &ky)
{
    static HWND targets[maxWindows];
    int count = findWindows(r.target, targets, r.all ? maxWindows : 1);
    if (count == 0)
        return exitUsage;
    HWND source = NULL;
    if (r.action == actCopyEffect) {
        if (findWindows(r.source, &source, 1) == 0)
            return exitUsage;
    }
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

int runShell(const Request &r, const KydoruExports &ky)
{
    switch (r.action) {
    case actTaskbar: r.show ? ky.kyShowTaskBar() : ky.kyHideTaskBar(); return exitDone;
    case actStartButton: r.show ? ky.kyShowStartButton() : ky.kyHideStartButton(); return exitDone;
    case actIcons: r.show ? ky.kyShowDesktopIcons() : ky.kyHideDesktopIcons(); return exitDone;
    case actDesktopWindow: r.show ? ky.kyShowDesktop() : ky.kyHideDesktop(); return exitDone;
    default: break;
    }
    // The clock's exports return UpdateWindow's verdict: 0 when there is no clock window.
    if (r.show ? ky.kyShowSystemClock() : ky.kyHideSystemClock())
        return exitDone;
    return failed(r.show ? "kyShowSystemClock" : "kyHideSystemClock", "there is no task bar clock", false);
}

// ---- the alternate desktop: always switched back ------------------------------------

HANDLE stopSwitch, switchedBack;

BOOL WINAPI onConsoleControl(DWORD)
{
    // Ctrl+C, Ctrl+Break, the console closing: wake the main thread, which switches back
    // (the desktop pair must be called from one thread), and wait until it has.
    SetEvent(stopSwitch);
    WaitForSingleObject(switchedBack, 4000);
    return TRUE;
}

int runDesktopSwitch(const Request &r, const KydoruExports &ky)
{
    stopSwitch = CreateEventA(NULL, TRUE, FALSE, NULL);
    switchedBack = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (!stopSwitch || !switchedBack || !SetConsoleCtrlHandler(onConsoleControl, TRUE))
        return failed("kyNewDesktopOn", "not called: Ctrl+C could not be caught, so there would be no way back", true);
    int on = ky.kyNewDesktopOn();
    if (on) {
        fprintf(stderr, "kyctl: on the alternate desktop for %d s (Ctrl+C returns)\n", r.seconds);
        WaitForSingleObject(stopSwitch, static_cast<DWORD>(r.seconds) * 1000u);
    }
    DWORD onError = GetLastError();
    int off = ky.kyNewDesktopOff();  // also after a failed switch: it may have half happened
    SetEvent(switchedBack);
    if (!on) {
        SetLastError(onError);
        return failed("kyNewDesktopOn", "the alternate desktop could not be shown", true);
    }
    if (!off)
        return failed("kyNewDesktopOff", "the alternate desktop could not be closed", true);
    return exitDone;
}

// ---- keys, power, system ----------------------------------------------------------

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
        if (r.json)
            printf("{\"%s\":%s}\n", caps ? "capsLock" : "numLock", on ? "true" : "false");
        else
            printf("%s\n", on ? "on" : "off");
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
        ky.kyMonitorOff();
        return exitDone;
    }
    if (r.action == actReboot)
        return ky.kyPerformReboot() ? exitDone : failed("kyPerformReboot", "the restart was refused", true);
    if (r.action == actSuspend)
        return ky.kySystemPowerSuspend() ? exitDone : failed("kySystemPowerSuspend", "sleep was refused", true);
    return ky.kySystemPowerHibernate() ? exitDone : failed("kySystemPowerHibernate", "hibernation was refused", true);
}

int runDisk(const Request &r, const KydoruExports &ky)
{
    int first = r.disk < 0 ? 0 : r.disk, last = r.disk < 0 ? 3 : r.disk, found = 0;
    if (r.json)
        printf("[");
    for (int index = first; index <= last; ++index) {
        char model[64] = "", serialNumber[64] = "", revision[64] = "";
        if (!ky.kyHDid(index, 1, model))
            continue;
        ky.kyHDid(index, 2, serialNumber);
        ky.kyHDid(index, 3, revision);
        if (r.json) {
            printf("%s{\"index\":%d,", found ? "," : "", index);
            printJsonField("model", model, false);
            printJsonField("serial", serialNumber, false);
            printJsonField("revision", revision, true);
            printf("}");
        } else {
            printf("disk %d\n  model     %s\n  serial    %s\n  revision  %s\n", index, model, serialNumber, revision);
        }
        ++found;
    }
    if (r.json)
        printf("]\n");
    if (found == 0 && r.disk >= 0) {
        char what[64];
        snprintf(what, sizeof what, "disk %d did not answer", r.disk);
        return failed("kyHDid", what, false);
    }
    if (found == 0 && !r.json)
        fprintf(stderr, "kyctl: no disk answered\n");
    return exitDone;
}

int runSystem(const Request &r, const KydoruExports &ky)
{
    if (r.action == actCpu) {
        unsigned int mhz = ky.kyProcSpeed();
        if (!mhz)
            return failed("kyProcSpeed", "the processor's clock rate is not recorded", false);
        printf(r.json ? "{\"mhz\":%u}\n" : "%u MHz\n", mhz);
        return exitDone;
    }
    if (r.action == actSysdir) {
        char path[MAX_PATH + 1] = "";
        ky.kyGetWSPath(path);
        if (!path[0])
            return failed("kyGetWSPath", "the system directory could not be had", false);
        if (r.json) {
            printf("{");
            printJsonField("path", path, true);
            printf("}\n");
        } else {
            printf("%s\n", path);
        }
        return exitDone;
    }
    if (r.action == actDisk)
        return runDisk(r, ky);
    // The applets: ShellExecute wants COM on the calling thread.
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INT_PTR result = r.applet == 0 ? ky.kySystemDialogMP() : ky.kySystemDialogTD();
    if (result > 32)
        return exitDone;
    char what[64];
    snprintf(what, sizeof what, "the applet did not start (ShellExecute code %d)", static_cast<int>(result));
    return failed(r.applet == 0 ? "kySystemDialogMP" : "kySystemDialogTD", what, false);
}

// ---- serial: one open, configure, write, read, close per call ---------------------

int runSerial(const Request &r, const KydoruExports &ky)
{
    char device[24];
    snprintf(device, sizeof device, "\\\\.\\%s", r.port);
    SetLastError(0);
    if (!ky.ky_ComOpen(device)) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            fprintf(stderr, "kyctl: serial: there is no port %s\n", r.port);
            return exitUsage;
        }
        char what[64];
        snprintf(what, sizeof what, "%s could not be opened", r.port);
        return failed("ky_ComOpen", what, true);
    }
    static unsigned char received[maxReadBytes];
    int got = 0, code = exitDone;
    if (!ky.ky_ComConf(r.baud, r.bits, r.parity != 0, r.parity, r.stopBits)) {
        char what[96];
        snprintf(what, sizeof what, "%s refused %u baud, %d bits, parity %d, stop bits %d", r.port, r.baud, r.bits,
                 r.parity, r.stopBits);
        code = failed("ky_ComConf", what, true);
    }
    for (int i = 0; code == exitDone && i < r.sendLength; ++i) {
        if (!ky.ky_WriteByte(&r.send[i])) {
            char what[64];
            snprintf(what, sizeof what, "byte %d of %d was not sent", i + 1, r.sendLength);
            code = failed("ky_WriteByte", what, true);
        }
    }
    DWORD start = GetTickCount();
    while (code == exitDone && got < r.readCount) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(r.timeoutMs))
            break;
        // One byte's wait is what is left of the whole read's time (never 0: all-zero
        // read time-outs would wait for ever).
        ky.ky_SetComTimeouts(0, 0, static_cast<DWORD>(r.timeoutMs) - elapsed, 60, 100);
        unsigned char byte = 0;
        if (ky.ky_ReadByte(&byte))
            received[got++] = byte;
    }
    ky.ky_ClosePort();
    if (code != exitDone)
        return code;

    static char hex[maxReadBytes * 3 + 1];
    hexText(received, got, hex, sizeof hex);
    if (r.json) {
        static char quoted[maxReadBytes * 6 + 3];
        if (!jsonString(reinterpret_cast<const char *>(received), static_cast<size_t>(got), quoted, sizeof quoted))
            strcpy(quoted, "\"\"");
        printf("{\"port\":\"%s\",\"sent\":%d,\"received\":%s,\"receivedHex\":\"%s\"}\n", r.port, r.sendLength, quoted,
               hex);
    } else if (got > 0) {
        if (r.hex)
            printf("%s\n", hex);
        else {
            fwrite(received, 1, static_cast<size_t>(got), stdout);
            printf("\n");
        }
    }
    if (got < r.readCount) {
        char what[96];
        snprintf(what, sizeof what, "%d of %d bytes arrived within %d ms", got, r.readCount, r.timeoutMs);
        return failed("ky_ReadByte", what, false);
    }
    return exitDone;
}

}  // namespace

int run(const Request &r, const KydoruExports &ky)
{
    switch (r.action) {
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
        return ky.kyLogo() == -1 ? failed("kyLogo", "the show's window class could not be registered", false)
                                 : exitDone;
    default:
        return exitUsage;
    }
}

}  // namespace kyctl
