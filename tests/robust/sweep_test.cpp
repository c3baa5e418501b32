// The sweep's cases, one group per area of the library. Each case calls one export the
// way a careless caller would and checks the result its interface gives for that input.
// Exports that act on the machine for real (restart, suspend, hibernate, monitor off) are
// not called here: their seams are tested in tests/shell.
#include <windows.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <shellapi.h>
#include <shlobj.h>
#include <string>
#include <thread>
#include <vector>

#include "../logo/logo_gl.h"
#include "careless.h"
#include "kywindows.h"
#include "shell/elements.h"
#include "sweep.h"

namespace robust {
namespace {

const DWORD quick = 2000;   // a call that should do nothing much
const DWORD drawn = 20000;  // an effect played on a small window
const DWORD shellCall = 5000;  // the shell's windows belong to another process
const DWORD modeCall = 10000;  // a display-mode change waits for the X server under Wine

std::string num(long long v)
{
    return std::to_string(v);
}

// ---- serial channel ---------------------------------------------------------------

// Every serial export at once on a port that is not usable: all of them fail.
void serialAllFail(const char *when)
{
    unsigned char byte = 0xAA;
    runCase("ky_ComConf", std::string("odd settings ") + when, quick,
            [] { return expectEq(KY(ky_ComConf)(19200, 8, 0, NOPARITY, ONESTOPBIT), 0, "conf"); });
    runCase("ky_SetComTimeouts", std::string("extreme time-outs ") + when, quick,
            [] { return expectEq(KY(ky_SetComTimeouts)(UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX), 0, "set"); });
    runCase("ky_WriteByte", std::string("write ") + when, quick,
            [&] { return expectEq(KY(ky_WriteByte)(&byte), 0, "write"); });
    runCase("ky_ReadByte", std::string("read ") + when, quick, [&] {
        byte = 0xAA;
        int r = KY(ky_ReadByte)(&byte);
        return all({expectEq(r, 0, "read"), expectEq(byte, 0, "the byte is cleared first")});
    });
    runCase("kySetupComm", std::string("huge queues ") + when, quick,
            [] { return expectEq(KY(kySetupComm)(INT_MIN, UINT_MAX, UINT_MAX), 0, "setup"); });
    runCase("kyCommRTerminate", std::string("purge ") + when, quick,
            [] { return expectEq(KY(kyCommRTerminate)(), 0, "purge"); });
    runCase("kyCommWTerminate", std::string("purge ") + when, quick,
            [] { return expectEq(KY(kyCommWTerminate)(), 0, "purge"); });
    runCase("kyCommIBClear", std::string("purge ") + when, quick,
            [] { return expectEq(KY(kyCommIBClear)(), 0, "purge"); });
    runCase("kyCommOBClear", std::string("purge ") + when, quick,
            [] { return expectEq(KY(kyCommOBClear)(), 0, "purge"); });
    runCase("ky_ClosePort", std::string("close ") + when, quick,
            [] { return expectEq(KY(ky_ClosePort)(), 0, "close"); });
}

void serialGroup()
{
    serialAllFail("before any open");

    const std::string longName = "COM" + std::string(5000, '7');
    const std::string noDevice = "COM99";
    for (const std::string *name : {&noDevice, &longName}) {
        runCase("ky_ComOpen", name->size() > 10 ? "5003-character name" : "port with no device", quick,
                [&] { return expectEq(reinterpret_cast<INT_PTR>(KY(ky_ComOpen)(name->c_str())), 0, "open"); });
    }
    runCase("ky_ComOpen", "empty name", quick,
            [] { return expectEq(reinterpret_cast<INT_PTR>(KY(ky_ComOpen)("")), 0, "open"); });
    serialAllFail("after a failed open");

    HANDLE port = KY(ky_ComOpen)("COM7");
    if (!port) {
        // The line exists only where the device tests' socat pair runs.
        for (const char *name : {"ky_ComConf", "ky_SetComTimeouts", "ky_WriteByte", "ky_ReadByte", "kySetupComm",
                                 "kyCommRTerminate", "kyCommWTerminate", "kyCommIBClear", "kyCommOBClear",
                                 "ky_ClosePort"})
            runCase(name, "while open", quick, [] { return skip("no serial line behind COM7 in this run"); });
        return;
    }
    struct Line {
        unsigned baud;
        int byteSize, parityCheck, parity, stopBits;
    };
    for (const Line &l : {Line{0, 8, 0, NOPARITY, ONESTOPBIT}, Line{UINT_MAX, 8, 0, NOPARITY, ONESTOPBIT},
                          Line{19200, 0, 0, NOPARITY, ONESTOPBIT}, Line{19200, 255, INT_MAX, 99, 99},
                          Line{19200, -1, -1, -1, -1}, Line{19200, INT_MIN, INT_MIN, INT_MIN, INT_MIN}}) {
        runCase("ky_ComConf",
                "while open: " + num(l.baud) + "," + num(l.byteSize) + "," + num(l.parityCheck) + "," +
                    num(l.parity) + "," + num(l.stopBits),
                quick, [&] {
                    int r = KY(ky_ComConf)(l.baud, l.byteSize, l.parityCheck, l.parity, l.stopBits);
                    int back = KY(ky_ComConf)(19200, 8, 0, NOPARITY, ONESTOPBIT);
                    return all({expectTrue(r == 0 || r == 1, "normalised result, got " + num(r)),
                                expectEq(back, 1, "the port takes the defaults again afterwards")});
                });
    }
    runCase("ky_SetComTimeouts", "while open: all zero, all maximal, defaults", quick, [] {
        auto set = KY(ky_SetComTimeouts);
        return all({expectEq(set(0, 0, 0, 0, 0), 1, "zeros"),
                    expectEq(set(UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX), 1, "maximal"),
                    expectEq(set(60, 100, 1, 60, 100), 1, "defaults")});
    });
    for (unsigned size : {0u, 1u, UINT_MAX}) {
        runCase("kySetupComm", "while open: queues of " + num(size), quick, [&] {
            int r = KY(kySetupComm)(INT_MAX, size, size);
            return expectEq(r != 0, SetupComm(port, size, size) != 0, "the system's own answer");
        });
    }
    struct Purge {
        const char *name;
        DWORD flag;
    };
    for (const Purge &p : {Purge{"kyCommRTerminate", PURGE_RXABORT}, Purge{"kyCommWTerminate", PURGE_TXABORT},
                           Purge{"kyCommIBClear", PURGE_RXCLEAR}, Purge{"kyCommOBClear", PURGE_TXCLEAR}}) {
        runCase(p.name, "while open", quick, [&] {
            int r = reinterpret_cast<int(KYCALL *)(void)>(exportAddress(p.name))();
            return expectEq(r != 0, PurgeComm(port, p.flag) != 0, "the system's own answer");
        });
    }
    runCase("ky_WriteByte", "while open: byte 0xFF", quick, [] {
        unsigned char byte = 0xFF;
        return expectEq(KY(ky_WriteByte)(&byte), 1, "write");
    });
    runCase("ky_ReadByte", "while open, nothing pending", quick, [] {
        unsigned char byte = 0xAA;
        int r = KY(ky_ReadByte)(&byte);
        return all({expectEq(r, 0, "read"), expectEq(byte, 0, "cleared")});
    });
    runCase("ky_ComOpen", "second open of the open port", quick, [&] {
        HANDLE second = KY(ky_ComOpen)("COM7");
        int closed = KY(ky_ClosePort)();
        // The first handle is the caller's to close once the library forgot it.
        BOOL firstClosed = second == port ? TRUE : CloseHandle(port);
        return all({expectEq(closed != 0, second != 0, "close follows the second open"),
                    expectTrue(firstClosed, "the first handle stayed open")});
    });
    serialAllFail("after the close");
}

// ---- disk identity, processor speed, folders, applets --------------------------------

void identityGroup()
{
    // The emulated 32-bit Wine dies inside its own storage query, which every kyHDid call
    // reaches; the 32-bit run leaves kyHDid's cases to the 64-bit one.
    const bool diskQueriesSurvive = sizeof(void *) == 8;
    if (!diskQueriesSurvive)
        runCase("kyHDid", "every drive and kind", quick,
                [] { return skip("the emulated 32-bit Wine dies in its storage query; swept in the 64-bit run"); });
    for (int drive : {-1, 4, INT_MIN, INT_MAX}) {
        if (!diskQueriesSurvive)
            break;
        for (int kind : {1, 2, 3}) {
            runCase("kyHDid", "drive " + num(drive) + " kind " + num(kind), quick, [&] {
                char buffer[64];
                memset(buffer, 'x', sizeof buffer);
                int r = KY(kyHDid)(drive, kind, buffer);
                bool emptied = buffer[0] == 0, untouched = buffer[0] == 'x';
                return all({expectEq(r, 0, "no drive has that index"),
                            expectTrue(kind >= 2 ? emptied : untouched, "buffer rule for the kind"),
                            expectTrue(buffer[1] == 'x', "nothing written past the terminator")});
            });
        }
    }
    for (int kind : {0, 4, -1, INT_MIN, INT_MAX}) {
        if (!diskQueriesSurvive)
            break;
        runCase("kyHDid", "drive 0 kind " + num(kind), quick, [&] {
            char buffer[64];
            memset(buffer, 'x', sizeof buffer);
            int r = KY(kyHDid)(0, kind, buffer);
            return all({expectEq(r, 0, "no such text"),
                        expectTrue(kind >= 2 ? buffer[0] == 0 : buffer[0] == 'x', "buffer rule for the kind")});
        });
    }
    runCase("kyGetWSPath", "garbage-filled buffer, three calls", quick, [] {
        char want[MAX_PATH] = "";
        SHGetSpecialFolderPathA(NULL, want, CSIDL_SYSTEM, FALSE);
        for (int i = 0; i < 3; ++i) {
            char buffer[300];
            memset(buffer, 0x7F, sizeof buffer);
            KY(kyGetWSPath)(buffer);
            if (strcmp(buffer, want) != 0)
                return fail(std::string("got \"") + buffer + "\", want \"" + want + "\"");
        }
        return pass();
    });
    runCase("kyProcSpeed", "equals the recorded clock rate, every time", quick, [] {
        DWORD mhz = 0, size = sizeof mhz;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "~MHz",
                         RRF_RT_REG_DWORD, NULL, &mhz, &size) != ERROR_SUCCESS)
            mhz = 0;
        auto speed = KY(kyProcSpeed);
        return all({expectEq(speed(), mhz, "first"), expectEq(speed(), mhz, "second")});
    });
    char found[MAX_PATH];
    const bool appletsExist = SearchPathA(NULL, "timedate.cpl", NULL, MAX_PATH, found, NULL) ||
                              SearchPathA(NULL, "main.cpl", NULL, MAX_PATH, found, NULL);
    for (const char *name : {"kySystemDialogMP", "kySystemDialogTD"}) {
        runCase(name, "twice in a row", quick, [&] {
            if (appletsExist)
                return skip("the applets exist here and would open windows in the shared prefix");
            auto open = reinterpret_cast<INT_PTR(KYCALL *)(void)>(exportAddress(name));
            INT_PTR direct = reinterpret_cast<INT_PTR>(
                ShellExecuteA(NULL, NULL, name[15] == 'P' ? "main.cpl" : "timedate.cpl", NULL, NULL, SW_SHOW));
            return all({expectEq(open(), direct, "first"), expectEq(open(), direct, "second")});
        });
    }
}

// ---- display modes ------------------------------------------------------------------

void displayGroup()
{
    HDC screen = GetDC(NULL);
    const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
    const int bits = GetDeviceCaps(screen, BITSPIXEL), refresh = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(NULL, screen);

    runCase("kyGetCurrentVideoMode", "four separate outputs", modeCall, [&] {
        int b = -7, w = -7, h = -7, r = -7;
        int ok = KY(kyGetCurrentVideoMode)(&b, &w, &h, &r);
        return all({expectEq(ok, 1, "result"), expectEq(b, bits, "bits"), expectEq(w, width, "width"),
                    expectEq(h, height, "height"), expectEq(r, refresh, "refresh")});
    });
    runCase("kyGetCurrentVideoMode", "one integer for all four outputs", modeCall, [&] {
        int shared = -7;
        int ok = KY(kyGetCurrentVideoMode)(&shared, &shared, &shared, &shared);
        return all({expectEq(ok, 1, "result"), expectEq(shared, refresh, "the last write wins")});
    });
    const int can = testedMode(1024, 768);
    runCase("kyCanChangeVideoMode", "plain and with four extra arguments", modeCall, [&] {
        auto withExtras = reinterpret_cast<int(KYCALL *)(int, int, int, int)>(exportAddress(KYDORU_EXPORT_NAME(kyCanChangeVideoMode)));
        return all({expectEq(KY(kyCanChangeVideoMode)(), can, "plain"),
                    expectEq(withExtras(-1, 0, INT_MAX, INT_MIN), can, "extras")});
    });
    runCase("kyCancelFullScreen", "before any full screen", modeCall, [] {
        int before = ShowCursor(FALSE) + 1;
        ShowCursor(TRUE);
        int r = KY(kyCancelFullScreen)();
        ShowCursor(FALSE);
        return expectEq(r, before + 1, "the raised cursor count");
    });
    runCase("kyChangeVideoModeTemporarily", "twice in a row", modeCall, [&] {
        auto change = KY(kyChangeVideoModeTemporarily);
        return all({expectEq(change(), can, "first"), expectEq(change(), can, "second")});
    });
    runCase("kyChangeVideoModePermanently", "with four extra arguments, as the demo calls it", modeCall, [] {
        auto plain = KY(kyChangeVideoModePermanently);
        auto withExtras =
            reinterpret_cast<int(KYCALL *)(int, int, int, int)>(exportAddress(KYDORU_EXPORT_NAME(kyChangeVideoModePermanently)));
        int a = plain();
        int b = withExtras(1, 2, 3, 4);
        return expectEq(b, a, "same code as without extras");
    });
    const int small = testedMode(800, 600);
    runCase("kyFullScreen", "twice, then cancelled twice", modeCall, [&] {
        auto full = KY(kyFullScreen);
        int first = full(), second = full();
        int c1 = KY(kyCancelFullScreen)();
        int c2 = KY(kyCancelFullScreen)();
        ShowCursor(FALSE);
        ShowCursor(FALSE);
        HDC dc = GetDC(NULL);
        int w = GetDeviceCaps(dc, HORZRES);
        ReleaseDC(NULL, dc);
        return all({expectEq(first, small, "first switch"), expectEq(second, small, "second switch"),
                    expectEq(c2, c1 + 1, "each cancel raises the count"), expectEq(w, width, "stored mode back")});
    });
}

// ---- transparency and flashing ----------------------------------------------------------

struct WindowKind {
    const char *name;
    HWND window;
    bool live;  // a window the caller may expect something to happen to
};

void appearanceGroup()
{
    HWND live = careless::makeWindow(40, 40, 160, 120, RGB(0, 128, 255), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND minimized = careless::makeWindow(60, 60, 160, 120, RGB(0, 128, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(minimized, SW_MINIMIZE);
    HWND empty = careless::makeWindow(80, 80, 0, 0, RGB(9, 9, 9));
    HWND huge = careless::makeWindow(-50000, -50000, 100000, 100000, RGB(9, 9, 9));
    HWND child = careless::makeWindow(5, 5, 40, 30, RGB(1, 1, 1), WS_CHILD | WS_VISIBLE, live);
    careless::ForeignWindow foreign(300, 40, 120, 90, RGB(255, 0, 0));
    careless::pump(100);
    const WindowKind kinds[] = {
        {"null", NULL, false},          {"destroyed", careless::staleWindow(), false},
        {"other thread", foreign.window, true}, {"minimized", minimized, true},
        {"zero-sized", empty, true},    {"huge", huge, true},
        {"child", child, true},         {"ordinary", live, true},
    };
    for (const WindowKind &k : kinds) {
        runCase("kySetWTransparent", std::string(k.name) + " window, alphas at the ends", quick, [&] {
            const struct {
                int alpha;
                BYTE want;
            } ends[] = {{INT_MIN, 220}, {-1, 220}, {0, 220},   {219, 220},    {220, 220},
                        {255, 255},     {256, 255}, {475, 255}, {INT_MAX, 255}};
            for (const auto &end : ends) {
                const int alpha = end.alpha;
                int r = KY(kySetWTransparent)(k.window, alpha);
                if (r != 1)
                    return fail("alpha " + num(alpha) + " returned " + num(r));
                BYTE got = 0;
                DWORD flags = 0;
                const BYTE want = end.want;
                if (k.window == live && (!GetLayeredWindowAttributes(live, NULL, &got, &flags) || got != want))
                    return fail("alpha " + num(alpha) + " gave " + num(got) + ", want " + num(want));
            }
            return pass();
        });
        runCase("kyRemoveWindowTrans", std::string(k.name) + " window", quick, [&] {
            int r = KY(kyRemoveWindowTrans)(k.window);
            bool layered = k.window && (GetWindowLongA(k.window, GWL_EXSTYLE) & WS_EX_LAYERED);
            return all({expectEq(r, 1, "constant"), expectTrue(!layered, "still layered")});
        });
        runCase("kyFlashWindow", std::string(k.name) + " window, counts 0, 1 and the largest", quick, [&] {
            for (unsigned count : {0u, 1u, UINT_MAX}) {
                int r = KY(kyFlashWindow)(k.window, count);
                FLASHWINFO stop = {sizeof stop, k.window, FLASHW_STOP, 0, 0};
                FlashWindowEx(&stop);
                if (!k.live && r != 0)
                    return fail("count " + num(count) + ": no window, yet " + num(r));
                if (r != 0 && r != 1)
                    return fail("count " + num(count) + ": not a BOOL: " + num(r));
            }
            return pass();
        });
    }
    dropWindows({child, live, minimized, empty, huge});
}

// ---- effects ----------------------------------------------------------------------------

// The windows the effect cases play on.
struct EffectWindows {
    COLORREF fill = RGB(30, 160, 90);
    HWND live, minimized, empty, sliver, huge, stale;
    careless::ForeignWindow foreign{300, 40, 48, 36, RGB(255, 0, 0)};
    EffectWindows()
    {
        live = careless::makeWindow(20, 20, 64, 48, fill);
        minimized = careless::makeWindow(60, 60, 120, 90, RGB(0, 128, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ShowWindow(minimized, SW_MINIMIZE);
        empty = careless::makeWindow(80, 80, 0, 0, RGB(9, 9, 9));
        sliver = careless::makeWindow(90, 90, 1, 300, RGB(9, 9, 9));
        huge = careless::makeWindow(-50000, -50000, 100000, 100000, RGB(9, 9, 9));
        stale = careless::staleWindow();
        careless::pump(150);
    }
    ~EffectWindows() { dropWindows({live, minimized, empty, sliver, huge}); }
};

// The snapshot exports.
void snapshotGroup()
{
    EffectWindows ew;
    const COLORREF fill = ew.fill;
    HWND live = ew.live, minimized = ew.minimized, empty = ew.empty, sliver = ew.sliver, huge = ew.huge;
    const HWND stale = ew.stale;
    careless::ForeignWindow &foreign = ew.foreign;
    const WindowKind kinds[] = {
        {"null", NULL, false},         {"destroyed", stale, false},       {"zero-sized", empty, false},
        {"other thread", foreign.window, true}, {"minimized", minimized, true}, {"1 x 300", sliver, true},
        {"huge", huge, true},
    };
    struct Pick {
        int effect, blank;
    };
    for (const WindowKind &k : kinds) {
        runCase("kyWindowBmpEffect", std::string(k.name) + " window, effects and blanks at the ends",
                k.live ? drawn : quick, [&] {
                    for (const Pick &p : {Pick{INT_MIN, 1}, Pick{INT_MAX, 2}}) {
                        int r = KY(kyWindowBmpEffect)(k.window, p.effect, p.blank);
                        if (r != 1)
                            return fail("effect " + num(p.effect) + " returned " + num(r));
                    }
                    return pass();
                });
    }
    // Larger than the screen but small enough for a snapshot bitmap: the random blocks
    // would pause 9000 times over the whole of it, 200 times over a screen.
    HWND large = careless::makeWindow(-2000, -2000, 6000, 6000, RGB(9, 9, 9));
    runCase("kyWindowBmpEffect", "6000 x 6000 window, random blocks", 5000,
            [&] { return expectEq(KY(kyWindowBmpEffect)(large, 8, 1), 1, "constant"); });
    dropWindows({large});
    for (const Pick &p : {Pick{INT_MIN, 0}, Pick{-1, 3}, Pick{22, -1}, Pick{1000, INT_MIN}, Pick{INT_MAX, 1},
                          Pick{-5, INT_MAX}}) {
        runCase("kyWindowBmpEffect", "ordinary window, effect " + num(p.effect) + " blank " + num(p.blank), drawn,
                [&] {
                    int r = KY(kyWindowBmpEffect)(live, p.effect, p.blank);
                    // However it got there, the window ends showing its own picture again.
                    return all({expectEq(r, 1, "constant"),
                                expectEq(careless::pixelAt(live, 32, 24), fill, "picture back")});
                });
    }
    for (const Pick &p : {Pick{INT_MIN, 3}, Pick{INT_MAX, -1}}) {
        runCase("kyDesktopBmpEffect", "effect " + num(p.effect) + " blank " + num(p.blank), 60000,
                [&] { return expectEq(KY(kyDesktopBmpEffect)(p.effect, p.blank), 1, "constant"); });
    }
}

// The window-to-window export and the two stand-alone window effects.
void copyGroup()
{
    EffectWindows ew;
    HWND live = ew.live, minimized = ew.minimized, empty = ew.empty, huge = ew.huge;
    const HWND stale = ew.stale;
    careless::ForeignWindow &foreign = ew.foreign;
    struct Pair {
        const char *name;
        HWND target, source;
        bool drawsOnScreen;
    };
    for (const Pair &p : {Pair{"null onto null", NULL, NULL, false}, Pair{"null source", live, NULL, false},
                          Pair{"null target", NULL, live, false}, Pair{"destroyed target", stale, live, false},
                          Pair{"destroyed source", live, stale, false}, Pair{"zero-sized target", empty, live, false},
                          Pair{"zero-sized source", live, empty, true}, Pair{"itself", live, live, true},
                          Pair{"other thread's source", live, foreign.window, true},
                          Pair{"huge source", live, huge, true}, Pair{"huge target", huge, live, true}, Pair{"minimized target", minimized, live, true}}) {
        runCase("kyWindowBmpEffect2", std::string(p.name) + ", effects at the ends", p.drawsOnScreen ? drawn : quick,
                [&] {
                    // 8 pauses once per ten blocks: its time grows with the area. Under
                    // the 32-bit emulation it alone would take minutes, so there the ends
                    // of the range (effects 1 and 22) stand for all.
                    static const std::vector<int> effects =
                        sizeof(void *) == 4 ? std::vector<int>{INT_MIN, INT_MAX} : std::vector<int>{INT_MIN, INT_MAX, 8};
                    for (int effect : effects) {
                        int r = KY(kyWindowBmpEffect2)(p.target, p.source, effect);
                        if (r != 1)
                            return fail("effect " + num(effect) + " returned " + num(r));
                    }
                    return pass();
                });
    }
    HWND tiny = careless::makeWindow(150, 20, 9, 9, RGB(9, 9, 9));
    // The huge window is left out of the two stand-alone effects: even over a screen-sized
    // part, the erase sets about 4 x W x H pixels and the sweep pauses once per column,
    // which costs seconds each; the effects' size limit is shown by the others above.
    const WindowKind standAlone[] = {
        {"null", NULL, false},          {"destroyed", stale, false},      {"zero-sized", empty, false},
        {"other thread", foreign.window, true}, {"minimized", minimized, true}, {"9 x 9", tiny, true},
        {"ordinary", live, true},
    };
    for (const WindowKind &k : standAlone) {
        runCase("kyWindowErase", std::string(k.name) + " window", k.live ? drawn : quick,
                [&] { return expectEq(KY(kyWindowErase)(k.window), 1, "constant"); });
        runCase("kyWindowD1", std::string(k.name) + " window", k.live ? drawn : quick,
                [&] { return expectEq(KY(kyWindowD1)(k.window), 1, "constant"); });
    }
    dropWindows({tiny});
}

// ---- shell elements, alternate desktop, lock keys --------------------------------------

void shellGroup()
{
    struct Element {
        const char *hide, *show;
        HWND (*find)();
        bool update;  // the result is UpdateWindow's, not ShowWindow's
    };
    static const Element elements[] = {
        {"kyHideTaskBar", "kyShowTaskBar", [] { return FindWindowA("Shell_TrayWnd", NULL); }, false},
        {"kyHideStartButton", "kyShowStartButton",
         [] { return GetDlgItem(FindWindowA("Shell_TrayWnd", NULL), startButtonId); }, false},
        {"kyHideSystemClock", "kyShowSystemClock",
         [] {
             return GetDlgItem(GetDlgItem(FindWindowA("Shell_TrayWnd", NULL), notificationAreaId), trayClockId);
         },
         true},
        {"kyHideDesktop", "kyShowDesktop", [] { return GetDesktopWindow(); }, false},
    };
    for (const Element &e : elements) {
        auto hide = reinterpret_cast<int(KYCALL *)(void)>(exportAddress(e.hide));
        auto show = reinterpret_cast<int(KYCALL *)(void)>(exportAddress(e.show));
        // Out of order: show first, then hide twice, then show twice.
        for (const char *step : {"S", "H", "H", "S", "S"}) {
            const bool hiding = step[0] == 'H';
            runCase(hiding ? e.hide : e.show, hiding ? "hide (show first, hide twice)" : "show (out of order, twice)",
                    shellCall, [&] {
                        HWND window = e.find();
                        bool wasVisible = window && IsWindowVisible(window);
                        int r = hiding ? hide() : show();
                        if (!window)
                            return expectEq(r, 0, "no such shell window");
                        if (e.update)
                            return expectTrue(r != 0, "UpdateWindow of a live window succeeds");
                        // Wine refuses to hide its desktop window: a refused call reports 0.
                        if ((IsWindowVisible(window) != 0) == hiding)
                            return expectEq(r, 0, "refused by the system");
                        return expectEq(r != 0, wasVisible, "previous visibility");
                    });
        }
    }
    for (const char *name : {"kyHideDesktopIcons", "kyShowDesktopIcons", "kyShowDesktopIcons", "kyHideDesktopIcons"}) {
        runCase(name, "out of order", quick, [&] {
            return expectEq(reinterpret_cast<int(KYCALL *)(void)>(exportAddress(name))(), 0, "second ShowWindow");
        });
    }

    // The desktop pair on a thread of its own: a thread with windows can't change desktop.
    int offFirst = -1, on1 = -1, on2 = -1, off1 = -1, off2 = -1;
    std::thread([&] {
        runCase("kyNewDesktopOff", "before any on", quick, [&] { return expectEq(offFirst = KY(kyNewDesktopOff)(), 0, "off"); });
        runCase("kyNewDesktopOn", "twice in a row", quick, [&] {
            on1 = KY(kyNewDesktopOn)();
            on2 = KY(kyNewDesktopOn)();
            return all({expectTrue(on1 != 0, "first on"), expectEq(on2, 0, "second on while one is active")});
        });
        runCase("kyNewDesktopOff", "twice after two ons", quick, [&] {
            off1 = KY(kyNewDesktopOff)();
            off2 = KY(kyNewDesktopOff)();
            return all({expectTrue(off1 != 0, "first off closes"), expectEq(off2, 0, "nothing left to close")});
        });
    }).join();

    HWND focus = careless::makeWindow(200, 200, 160, 100, RGB(255, 255, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetForegroundWindow(focus);
    SetFocus(focus);
    careless::pump(100);
    struct Lock {
        const char *name;
        int key;
    };
    for (const Lock &l : {Lock{"kySetCapsLock", VK_CAPITAL}, Lock{"kySetNumLock", VK_NUMLOCK}}) {
        auto set = reinterpret_cast<void(KYCALL *)(int)>(exportAddress(l.name));
        BYTE state[256] = {};
        GetKeyboardState(state);
        const bool initially = state[l.key] & 1;
        for (int wanted : {INT_MIN, 0, -1, 0, 2, INT_MAX, 0}) {
            runCase(l.name, "wanted " + num(wanted), quick, [&] {
                set(wanted);
                careless::pump(60);
                GetKeyboardState(state);
                return expectEq(state[l.key] & 1, wanted != 0, "toggle state");
            });
        }
        set(initially);
        careless::pump(60);
    }
    dropWindows({focus});
}

// ---- clock and logo pairs -------------------------------------------------------------

HWND clockWindow()
{
    return FindWindowA("kydoru", "KY DORU CLOCK");
}

int nestedResult = -1;

void CALLBACK closeClockNested(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!careless::clockLoopRunning())
        return;  // not yet: the opening note or the depth warning is still up
    KillTimer(NULL, id);
    nestedResult = KY(kySoftClock)();
}

void CALLBACK quitWhileClockRuns(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!careless::clockLoopRunning())
        return;  // not yet: the opening note or the depth warning is still up
    KillTimer(NULL, id);
    PostQuitMessage(7);
}

// The quit left for the caller's loop, if any: its exit code, or -1.
int takeQuit()
{
    MSG msg;
    return PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) ? int(msg.wParam) : -1;
}

void clockGroup()
{
    // The cases after this one open the clock again, so reopening after a close is covered.
    {
        runCase("kySoftClock", "opened, then closed by a second call from a handler", 10000, [] {
                    nestedResult = -1;
                    SetTimer(NULL, 0, 400, closeClockNested);
                    int r = KY(kySoftClock)();
                    return all({expectEq(r, 0, "outer"), expectEq(nestedResult, 0, "nested"),
                                expectTrue(!clockWindow(), "the clock is gone"), expectEq(takeQuit(), -1, "no quit left")});
                });
    }
    runCase("kySoftClock", "the caller's quit while the clock runs", 10000, [] {
        SetTimer(NULL, 0, 400, quitWhileClockRuns);
        int r = KY(kySoftClock)();
        bool gone = !clockWindow();
        int quit = takeQuit();
        // The toggle is still on: the next call is the closing one.
        int closing = KY(kySoftClock)();
        return all({expectEq(r, 0, "outer"), expectTrue(gone, "the clock closed"), expectEq(quit, 7, "quit passed on"),
                    expectEq(closing, 0, "closing call")});
    });
    runCase("kySoftClock", "a quit already waiting when the clock opens", 10000, [] {
        PostQuitMessage(5);
        int r = KY(kySoftClock)();
        bool gone = !clockWindow();
        int quit = takeQuit();
        int again = KY(kySoftClock)();  // whatever the toggle says, this call returns
        if (clockWindow())
            DestroyWindow(clockWindow());
        return all({expectEq(r, 0, "outer"), expectTrue(gone, "no clock left open"), expectEq(quit, 5, "quit kept"),
                    expectEq(again, 0, "the call after")});
    });
}

// Closes the show's window once it appears, until the show has returned.
struct ShowCloser {
    std::atomic<bool> returned{false};
    std::thread thread;
    explicit ShowCloser(DWORD afterMs)
    {
        thread = std::thread([this, afterMs] {
            HWND show = NULL;
            while (!returned && !(show = FindWindowA("OpenGL", NULL)))
                Sleep(20);
            if (!show)
                return;
            Sleep(afterMs);
            PostMessageA(show, WM_CLOSE, 0, 0);
        });
    }
    ~ShowCloser()
    {
        returned = true;
        thread.join();
    }
};

void logoGroup()
{
    std::string why;
    // The shared probe: the emulated 32-bit Wine dies on a second attempt at a pixel format.
    if (!logotest::glAvailable(&why)) {
        runCase("kyLogo", "every logo case", quick,
                [&] { return skip("OpenGL is not available in this run (" + why + ")"); });
        return;
    }
    runCase("kyLogo", "closed as soon as it shows", 20000, [] {
        ShowCloser closer(0);
        int r = KY(kyLogo)();
        return all({expectEq(r, 0, "ended"), expectTrue(!FindWindowA("OpenGL", NULL), "window gone")});
    });
    runCase("kyLogo", "a quit already waiting when the show starts", 20000, [] {
        PostQuitMessage(9);
        ShowCloser closer(300);
        int r = KY(kyLogo)();
        return all({expectEq(r, 0, "ended"), expectEq(takeQuit(), 9, "the caller's quit is still there")});
    });
    runCase("kyLogo", "its class name already taken", 20000, [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "OpenGL";
        ATOM taken = RegisterClassA(&wc);
        size_t boxes = kytest::seenBoxes().size();
        int r = KY(kyLogo)();
        UnregisterClassA("OpenGL", GetModuleHandleA(NULL));
        if (!taken)
            return skip("the class could not be taken first");
        return all({expectEq(r, -1, "refused"), expectTrue(kytest::seenBoxes().size() > boxes, "an Error box was shown")});
    });
    runCase("kyLogo", "no pictures in the current folder", 20000, [] {
        char saved[MAX_PATH] = "", temp[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, saved);
        GetTempPathA(MAX_PATH, temp);
        std::string folder = std::string(temp) + "kyrobust_empty_" + num(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), NULL);
        SetCurrentDirectoryA(folder.c_str());
        int r;
        {
            ShowCloser closer(0);  // only needed if the show wrongly runs
            r = KY(kyLogo)();
        }
        SetCurrentDirectoryA(saved);
        RemoveDirectoryA(folder.c_str());
        return expectEq(r, 0, "ended silently");
    });
}

}  // namespace

const SweepGroup sweepGroups[] = {
    {"serial", serialGroup, 30000},     {"identity", identityGroup, 30000}, {"display", displayGroup, 30000},
    {"appearance", appearanceGroup, 30000}, {"snapshots", snapshotGroup, 120000},
    {"copies", copyGroup, 120000}, {"shell", shellGroup, 30000},
    {"clock", clockGroup, 60000},       {"logo", logoGroup, 90000},
};
const int sweepGroupCount = sizeof sweepGroups / sizeof sweepGroups[0];

}  // namespace robust
