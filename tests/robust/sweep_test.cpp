// The hostile-input sweep: every export of kydoru.dll, bound by name as a user's program
// binds it, called with the inputs a careless caller gives (null, destroyed and foreign
// windows, zero and extreme sizes and numbers, calls out of order, quits in the queue),
// each checked against the result its interface gives for that input. One test suite per
// area; the 64-bit build runs each suite as its own CTest entry, so a crash or a hang
// ends only that suite. Exports that act on the machine for real (restart, suspend,
// hibernate, monitor off) are not called here: their seams are tested in tests/shell.
#include "kytest.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <shellapi.h>
#include <string>
#include <thread>
#include <vector>

#include "../logo/logo_gl.h"
#include "shell/shellwindows.h"
#include "sweep.h"

namespace {

using sweep::timedCase;

const DWORD quick = 2000;      // a call that should do nothing much
const DWORD drawn = 20000;     // an effect played on a small window
const DWORD shellCall = 5000;  // the shell's windows belong to another process
const DWORD modeCall = 10000;  // a display-mode change waits for the X server under Wine

std::string num(long long v)
{
    return std::to_string(v);
}

// Message boxes are answered for the whole suite; quits a case left behind are not
// passed on to the next suite.
class SweepSuite : public testing::Test {
protected:
    static void SetUpTestSuite() { kytest::startBoxWatcher(); }
    static void TearDownTestSuite()
    {
        kytest::stopBoxWatcher();
        MSG msg;
        while (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};

// Which exports each area's suite sweeps: together, every export but the four that act
// on the machine for real. Names go through the export table, so a typo doesn't compile.
#define NAME(export) KYDORU_EXPORT_NAME(export)
const struct Area {
    const char *suite;
    std::vector<std::string> exports;
} areas[] = {
    {"SerialSweep",
     {NAME(ky_ComOpen), NAME(ky_ComConf), NAME(ky_SetComTimeouts), NAME(ky_WriteByte), NAME(ky_ReadByte),
      NAME(kySetupComm), NAME(kyCommRTerminate), NAME(kyCommWTerminate), NAME(kyCommIBClear),
      NAME(kyCommOBClear), NAME(ky_ClosePort)}},
    {"IdentitySweep",
     {NAME(kyHDid), NAME(kyGetWSPath), NAME(kyProcSpeed), NAME(kySystemDialogMP), NAME(kySystemDialogTD)}},
    {"DisplayModeSweep",
     {NAME(kyGetCurrentVideoMode), NAME(kyCanChangeVideoMode), NAME(kyCancelFullScreen),
      NAME(kyChangeVideoModeTemporarily), NAME(kyChangeVideoModePermanently), NAME(kyFullScreen)}},
    {"AppearanceSweep", {NAME(kySetWTransparent), NAME(kyRemoveWindowTrans), NAME(kyFlashWindow)}},
    {"SnapshotEffectSweep", {NAME(kyWindowBmpEffect), NAME(kyDesktopBmpEffect)}},
    {"CopyEffectSweep", {NAME(kyWindowBmpEffect2), NAME(kyWindowErase), NAME(kyWindowD1)}},
    {"ShellSweep",
     {NAME(kyHideTaskBar), NAME(kyShowTaskBar), NAME(kyHideStartButton), NAME(kyShowStartButton),
      NAME(kyHideSystemClock), NAME(kyShowSystemClock), NAME(kyHideDesktop), NAME(kyShowDesktop),
      NAME(kyHideDesktopIcons), NAME(kyShowDesktopIcons), NAME(kyNewDesktopOn), NAME(kyNewDesktopOff),
      NAME(kySetCapsLock), NAME(kySetNumLock)}},
    {"ClockSweep", {NAME(kySoftClock)}},
    {"LogoSweep", {NAME(kyLogo)}},
};
const char *const machineActions[] = {NAME(kyPerformReboot), NAME(kySystemPowerSuspend),
                                      NAME(kySystemPowerHibernate), NAME(kyMonitorOff)};
#undef NAME

TEST(SweepCoverage, EveryExportButTheMachineActionsHasOneArea)
{
    for (const char *name : kydoruExportNames) {
        int areasSweeping = 0;
        for (const Area &area : areas)
            areasSweeping += int(std::count(area.exports.begin(), area.exports.end(), name));
        const bool machine = std::find_if(std::begin(machineActions), std::end(machineActions), [&](const char *m) {
                                 return strcmp(m, name) == 0;
                             }) != std::end(machineActions);
        EXPECT_EQ(areasSweeping, machine ? 0 : 1) << name;
    }
}

// The last case of each suite: every export of its area had cases, when all the suite's
// other cases ran in this process.
void expectAreaSwept()
{
    const testing::UnitTest &run = *testing::UnitTest::GetInstance();
    const testing::TestSuite &suite = *run.current_test_suite();
    for (int i = 0; i < suite.total_test_count(); ++i) {
        const testing::TestInfo &other = *suite.GetTestInfo(i);
        if (&other != run.current_test_info() && (!other.should_run() || other.result()->Skipped()))
            GTEST_SKIP() << other.name() << " did not run in this process";
    }
    for (const Area &area : areas) {
        if (strcmp(area.suite, suite.name()) != 0)
            continue;
        for (const std::string &name : area.exports)
            EXPECT_TRUE(sweep::wasSwept(name)) << name << " had no case";
        return;
    }
    ADD_FAILURE() << suite.name() << " has no area";
}

// ---- serial channel ---------------------------------------------------------------

class SerialSweep : public SweepSuite {};

// Every serial export at once on a port that is not usable: all of them fail.
void expectEverySerialCallFails(const char *when)
{
    struct Call {
        const char *exportName, *inputs;
        int (*call)();
    };
    static const Call calls[] = {
        {"ky_ComConf", "odd settings", [] { return KYDLL(ky_ComConf)(19200, 8, 0, NOPARITY, ONESTOPBIT); }},
        {"ky_SetComTimeouts", "extreme time-outs",
         [] { return KYDLL(ky_SetComTimeouts)(UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX); }},
        {"ky_WriteByte", "write",
         [] {
             unsigned char byte = 0xAA;
             return KYDLL(ky_WriteByte)(&byte);
         }},
        {"ky_ReadByte", "read",
         [] {
             unsigned char byte = 0xAA;
             const int r = KYDLL(ky_ReadByte)(&byte);
             EXPECT_EQ(byte, 0) << "the byte is cleared first";
             return r;
         }},
        {"kySetupComm", "huge queues", [] { return KYDLL(kySetupComm)(INT_MIN, UINT_MAX, UINT_MAX); }},
        {"kyCommRTerminate", "purge", [] { return KYDLL(kyCommRTerminate)(); }},
        {"kyCommWTerminate", "purge", [] { return KYDLL(kyCommWTerminate)(); }},
        {"kyCommIBClear", "purge", [] { return KYDLL(kyCommIBClear)(); }},
        {"kyCommOBClear", "purge", [] { return KYDLL(kyCommOBClear)(); }},
        {"ky_ClosePort", "close", [] { return KYDLL(ky_ClosePort)(); }},
    };
    for (const Call &c : calls)
        timedCase(c.exportName, std::string(c.inputs) + " " + when, quick, [&] { EXPECT_EQ(c.call(), 0); });
}

TEST_F(SerialSweep, EveryCallFailsWithoutAnOpenPort)
{
    expectEverySerialCallFails("before any open");
    const struct {
        const char *inputs;
        std::string name;
    } opens[] = {{"port with no device", "COM99"}, {"5003-character name", "COM" + std::string(5000, '7')},
                 {"empty name", ""}};
    for (const auto &o : opens)
        timedCase("ky_ComOpen", o.inputs, quick, [&] { EXPECT_EQ(KYDLL(ky_ComOpen)(o.name.c_str()), HANDLE(NULL)); });
    expectEverySerialCallFails("after a failed open");
}

TEST_F(SerialSweep, OpenLineTakesHostileSettings)
{
    HANDLE port = KYDLL(ky_ComOpen)("COM7");
    if (!port)
        GTEST_SKIP() << "no serial line behind COM7 in this run (it exists while the device tests' line runs)";
    struct Line {
        unsigned baud;
        int byteSize, parityCheck, parity, stopBits;
    };
    for (const Line &l : {Line{0, 8, 0, NOPARITY, ONESTOPBIT}, Line{UINT_MAX, 8, 0, NOPARITY, ONESTOPBIT},
                          Line{19200, 0, 0, NOPARITY, ONESTOPBIT}, Line{19200, 255, INT_MAX, 99, 99},
                          Line{19200, -1, -1, -1, -1}, Line{19200, INT_MIN, INT_MIN, INT_MIN, INT_MIN}}) {
        timedCase("ky_ComConf",
                  "while open: " + num(l.baud) + "," + num(l.byteSize) + "," + num(l.parityCheck) + "," +
                      num(l.parity) + "," + num(l.stopBits),
                  quick, [&] {
                      const int r = KYDLL(ky_ComConf)(l.baud, l.byteSize, l.parityCheck, l.parity, l.stopBits);
                      EXPECT_TRUE(r == 0 || r == 1) << "not a normalised result: " << r;
                      EXPECT_EQ(KYDLL(ky_ComConf)(19200, 8, 0, NOPARITY, ONESTOPBIT), 1)
                          << "the port takes the defaults again afterwards";
                  });
    }
    timedCase("ky_SetComTimeouts", "while open: all zero, all maximal, defaults", quick, [] {
        auto set = KYDLL(ky_SetComTimeouts);
        EXPECT_EQ(set(0, 0, 0, 0, 0), 1) << "zeros";
        EXPECT_EQ(set(UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX, UINT_MAX), 1) << "maximal";
        EXPECT_EQ(set(60, 100, 1, 60, 100), 1) << "defaults";
    });
    // Queue sizes are only a recommendation to the driver: whatever it makes of them, the
    // line still carries a byte afterwards.
    for (unsigned size : {0u, 1u, UINT_MAX}) {
        timedCase("kySetupComm", "while open: queues of " + num(size), quick, [&] {
            const int r = KYDLL(kySetupComm)(INT_MAX, size, size);
            EXPECT_TRUE(r == 0 || r == 1) << "not a BOOL: " << r;
            unsigned char byte = 0x5A;
            EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 1) << "the line still carries a byte";
        });
    }
    for (const char *purge : {"kyCommRTerminate", "kyCommWTerminate", "kyCommIBClear", "kyCommOBClear"}) {
        timedCase(purge, "while open", quick, [&] {
            auto call = reinterpret_cast<int(KYCALL *)(void)>(kytest::exportAddress(purge));
            EXPECT_EQ(call(), 1) << "a purge of an open port succeeds";
        });
    }
    timedCase("ky_WriteByte", "while open: byte 0xFF", quick, [] {
        unsigned char byte = 0xFF;
        EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 1);
    });
    timedCase("ky_ReadByte", "while open, nothing pending", quick, [] {
        unsigned char byte = 0xAA;
        EXPECT_EQ(KYDLL(ky_ReadByte)(&byte), 0);
        EXPECT_EQ(byte, 0) << "cleared";
    });
    timedCase("ky_ComOpen", "second open of the open port", quick, [&] {
        // The library closes the open channel before opening again; the port is opened
        // exclusively, so the second open succeeds only when the first handle was let go.
        // (That handle's value may come back for the second, or for anything else of this
        // process: it is never closed here.)
        HANDLE second = KYDLL(ky_ComOpen)("COM7");
        EXPECT_NE(second, HANDLE(NULL)) << "the second open finds the port free again";
        const int closed = KYDLL(ky_ClosePort)();
        EXPECT_EQ(closed != 0, second != NULL) << "close follows the second open";
    });
    expectEverySerialCallFails("after the close");
}

TEST_F(SerialSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- disk identity, processor speed, folders, applets --------------------------------

class IdentitySweep : public SweepSuite {};

TEST_F(IdentitySweep, DiskIdentityOfMissingDrivesAndKinds)
{
    if (!kytest::storageQuerySurvives())
        GTEST_SKIP() << "the emulated 32-bit Wine hangs in the storage query beside the case clock's thread; "
                        "disk32 makes these calls in that run";
    // Kinds 2 and up empty the caller's buffer before looking; kind 1 leaves it alone.
    for (int drive : {-1, 4, INT_MIN, INT_MAX}) {
        for (int kind : {1, 2, 3}) {
            timedCase("kyHDid", "drive " + num(drive) + " kind " + num(kind), quick, [&] {
                char buffer[64];
                memset(buffer, 'x', sizeof buffer);
                EXPECT_EQ(KYDLL(kyHDid)(drive, kind, buffer), 0) << "no drive has that index";
                EXPECT_EQ(buffer[0], kind >= 2 ? 0 : 'x') << "buffer rule for the kind";
                EXPECT_EQ(buffer[1], 'x') << "nothing written past the terminator";
            });
        }
    }
    for (int kind : {0, 4, -1, INT_MIN, INT_MAX}) {
        timedCase("kyHDid", "drive 0 kind " + num(kind), quick, [&] {
            char buffer[64];
            memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(KYDLL(kyHDid)(0, kind, buffer), 0) << "no such text";
            EXPECT_EQ(buffer[0], kind >= 2 ? 0 : 'x') << "buffer rule for the kind";
        });
    }
}

TEST_F(IdentitySweep, SystemFolderIntoGarbageFilledBuffer)
{
    timedCase("kyGetWSPath", "garbage-filled buffer, three calls", quick, [] {
        for (int i = 0; i < 3; ++i) {
            char buffer[300];
            memset(buffer, 0x7F, sizeof buffer);
            KYDLL(kyGetWSPath)(buffer);
            ASSERT_LT(strlen(buffer), sizeof buffer) << "call " << i;
            EXPECT_TRUE(sweep::isSystemFolder(buffer)) << "call " << i << " gave \"" << buffer << "\"";
        }
    });
}

TEST_F(IdentitySweep, ProcessorSpeedIsTheRecordedRateEveryTime)
{
    timedCase("kyProcSpeed", "twice", quick, [] {
        const DWORD mhz = sweep::recordedMhz();
        EXPECT_EQ(KYDLL(kyProcSpeed)(), mhz) << "first";
        EXPECT_EQ(KYDLL(kyProcSpeed)(), mhz) << "second";
    });
}

TEST_F(IdentitySweep, MissingAppletsTwiceInARow)
{
    char found[MAX_PATH];
    if (SearchPathA(NULL, "timedate.cpl", NULL, MAX_PATH, found, NULL) ||
        SearchPathA(NULL, "main.cpl", NULL, MAX_PATH, found, NULL))
        GTEST_SKIP() << "the applets exist here and would open windows in the shared prefix";
    for (const char *name : {"kySystemDialogMP", "kySystemDialogTD"}) {
        timedCase(name, "twice in a row", quick, [&] {
            auto open = reinterpret_cast<INT_PTR(KYCALL *)(void)>(kytest::exportAddress(name));
            const INT_PTR first = open(), second = open();
            // The shell's answers above 32 mean it started something; here there is nothing.
            EXPECT_LE(first, 32) << "first";
            EXPECT_EQ(second, first) << "second";
        });
    }
}

TEST_F(IdentitySweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- display modes ------------------------------------------------------------------

class DisplayModeSweep : public SweepSuite {};

// 0 and 1 both stand for the hardware's default refresh rate, in a device context's
// answer as in a mode record.
void expectSameRefresh(int got, DWORD listed)
{
    if (listed <= 1)
        EXPECT_TRUE(got == 0 || got == 1) << "the default rate, got " << got;
    else
        EXPECT_EQ(got, int(listed)) << "refresh";
}

TEST_F(DisplayModeSweep, CurrentModeIntoSeparateAndSharedOutputs)
{
    DEVMODEA current = {};
    current.dmSize = sizeof current;
    ASSERT_TRUE(EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &current));
    timedCase("kyGetCurrentVideoMode", "four separate outputs", modeCall, [&] {
        int b = -7, w = -7, h = -7, r = -7;
        EXPECT_EQ(KYDLL(kyGetCurrentVideoMode)(&b, &w, &h, &r), 1);
        EXPECT_EQ(b, int(current.dmBitsPerPel)) << "bits";
        EXPECT_EQ(w, int(current.dmPelsWidth)) << "width";
        EXPECT_EQ(h, int(current.dmPelsHeight)) << "height";
        expectSameRefresh(r, current.dmDisplayFrequency);
    });
    timedCase("kyGetCurrentVideoMode", "one integer for all four outputs", modeCall, [&] {
        int shared = -7;
        EXPECT_EQ(KYDLL(kyGetCurrentVideoMode)(&shared, &shared, &shared, &shared), 1);
        SCOPED_TRACE("the last write, the refresh rate, wins");
        expectSameRefresh(shared, current.dmDisplayFrequency);
    });
}

TEST_F(DisplayModeSweep, SwitchesWithExtraArgumentsAndTwiceInARow)
{
    const int listed = sweep::listedModeAnswer(1024, 768);
    const int can = sweep::testedMode(1024, 768);
    typedef int(KYCALL * WithExtras)(int, int, int, int);
    timedCase("kyCanChangeVideoMode", "plain and with four extra arguments", modeCall, [&] {
        auto withExtras = reinterpret_cast<WithExtras>(kytest::exportAddress(KYDORU_EXPORT_NAME(kyCanChangeVideoMode)));
        EXPECT_EQ(KYDLL(kyCanChangeVideoMode)(), listed) << "plain";
        EXPECT_EQ(withExtras(-1, 0, INT_MAX, INT_MIN), listed) << "extras";
    });
    timedCase("kyChangeVideoModeTemporarily", "twice in a row", modeCall, [&] {
        auto change = KYDLL(kyChangeVideoModeTemporarily);
        EXPECT_EQ(change(), can) << "first";
        EXPECT_EQ(change(), can) << "second";
    });
    timedCase("kyChangeVideoModePermanently", "with four extra arguments, as the demo calls it", modeCall, [] {
        auto withExtras =
            reinterpret_cast<WithExtras>(kytest::exportAddress(KYDORU_EXPORT_NAME(kyChangeVideoModePermanently)));
        const int plain = KYDLL(kyChangeVideoModePermanently)();
        EXPECT_EQ(withExtras(1, 2, 3, 4), plain) << "same code as without extras";
    });
}

TEST_F(DisplayModeSweep, FullScreenCancelledBeforeAndTwice)
{
    timedCase("kyCancelFullScreen", "before any full screen", modeCall, [] {
        const int before = ShowCursor(FALSE) + 1;
        ShowCursor(TRUE);
        const int r = KYDLL(kyCancelFullScreen)();
        CURSORINFO cursor = {};
        cursor.cbSize = sizeof cursor;
        const bool showing = GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING);
        ShowCursor(FALSE);
        EXPECT_EQ(r, before + 1) << "the raised cursor count";
        EXPECT_TRUE(showing) << "the cursor shows after a cancel";
    });
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int small = sweep::testedMode(800, 600);
    timedCase("kyFullScreen", "twice, then cancelled twice", modeCall, [&] {
        auto full = KYDLL(kyFullScreen);
        const int first = full(), second = full();
        const int c1 = KYDLL(kyCancelFullScreen)();
        const int c2 = KYDLL(kyCancelFullScreen)();
        ShowCursor(FALSE);
        ShowCursor(FALSE);
        EXPECT_EQ(first, small) << "first switch";
        EXPECT_EQ(second, small) << "second switch";
        EXPECT_EQ(c2, c1 + 1) << "each cancel raises the count";
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), width) << "stored mode back";
    });
}

TEST_F(DisplayModeSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- transparency and flashing ----------------------------------------------------------

struct WindowKind {
    const char *name;
    HWND window;
    bool live;  // a window the caller may expect something to happen to
};

// Waits until the window shows `fill` at (x, y) of its own context.
bool showsFill(HWND window, COLORREF fill, int x, int y)
{
    return kytest::waitUntil([=] { return sweep::pixelAt(window, x, y) == fill; }, 3000);
}

class AppearanceSweep : public SweepSuite {};

TEST_F(AppearanceSweep, EveryWindowKind)
{
    HWND live = kytest::createTestWindow(40, 40, 160, 120, RGB(0, 128, 255), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND minimized = kytest::createTestWindow(60, 60, 160, 120, RGB(0, 128, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(minimized, SW_MINIMIZE);
    HWND empty = kytest::createTestWindow(80, 80, 0, 0, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    HWND huge = kytest::createTestWindow(-50000, -50000, 100000, 100000, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    HWND child = kytest::createTestWindow(5, 5, 40, 30, RGB(1, 1, 1), WS_CHILD | WS_VISIBLE, 0, live);
    auto *foreign = new sweep::ForeignWindow(300, 40, 120, 90, RGB(255, 0, 0));
    kytest::pumpMessages(100);
    const WindowKind kinds[] = {
        {"null", NULL, false},          {"destroyed", sweep::staleWindow(), false},
        {"other thread", foreign->window, true}, {"minimized", minimized, true},
        {"zero-sized", empty, true},    {"huge", huge, true},
        {"child", child, true},         {"ordinary", live, true},
    };
    for (const WindowKind &k : kinds) {
        timedCase("kySetWTransparent", std::string(k.name) + " window, alphas at the ends", quick, [&] {
            // Below 220 the window would be too faint to find again: raised to 220.
            const struct {
                int alpha;
                BYTE want;
            } ends[] = {{INT_MIN, 220}, {-1, 220},  {0, 220},   {219, 220},   {220, 220},
                        {255, 255},     {256, 255}, {475, 255}, {INT_MAX, 255}};
            for (const auto &end : ends) {
                EXPECT_EQ(KYDLL(kySetWTransparent)(k.window, end.alpha), 1) << "alpha " << end.alpha;
                BYTE got = 0;
                DWORD flags = 0;
                if (k.window == live) {
                    EXPECT_TRUE(GetLayeredWindowAttributes(live, NULL, &got, &flags)) << "alpha " << end.alpha;
                    EXPECT_EQ(got, end.want) << "alpha " << end.alpha;
                }
            }
        });
        timedCase("kyRemoveWindowTrans", std::string(k.name) + " window", quick, [&] {
            EXPECT_EQ(KYDLL(kyRemoveWindowTrans)(k.window), 1);
            const bool layered = k.window && (GetWindowLongA(k.window, GWL_EXSTYLE) & WS_EX_LAYERED);
            EXPECT_FALSE(layered) << "still layered";
        });
        timedCase("kyFlashWindow", std::string(k.name) + " window, counts 0, 1 and the largest", quick, [&] {
            for (unsigned count : {0u, 1u, UINT_MAX}) {
                const int r = KYDLL(kyFlashWindow)(k.window, count);
                FLASHWINFO stop = {sizeof stop, k.window, FLASHW_STOP, 0, 0};
                FlashWindowEx(&stop);
                if (!k.live)
                    EXPECT_EQ(r, 0) << "count " << count << ": no window to flash";
                else
                    EXPECT_TRUE(r == 0 || r == 1) << "count " << count << ": not a BOOL: " << r;
            }
        });
    }
    sweep::destroyWindows({child, live, minimized, empty, huge});
    delete foreign;
}

TEST_F(AppearanceSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- effects ----------------------------------------------------------------------------

// The windows the effect cases play on.
struct EffectWindows {
    COLORREF fill = RGB(30, 160, 90);
    HWND live, minimized, empty, sliver, huge, stale;
    sweep::ForeignWindow *foreign;
};

EffectWindows makeEffectWindows()
{
    EffectWindows w;
    w.foreign = new sweep::ForeignWindow(300, 40, 48, 36, RGB(255, 0, 0));
    w.live = kytest::createTestWindow(20, 20, 64, 48, w.fill, WS_POPUP | WS_VISIBLE);
    w.minimized = kytest::createTestWindow(60, 60, 120, 90, RGB(0, 128, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ShowWindow(w.minimized, SW_MINIMIZE);
    w.empty = kytest::createTestWindow(80, 80, 0, 0, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    w.sliver = kytest::createTestWindow(90, 90, 1, 300, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    w.huge = kytest::createTestWindow(-50000, -50000, 100000, 100000, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    w.stale = sweep::staleWindow();
    return w;
}

void destroyEffectWindows(const EffectWindows &w)
{
    sweep::destroyWindows({w.live, w.minimized, w.empty, w.sliver, w.huge});
    delete w.foreign;
}

// The two groups that draw effects on careless windows take many minutes under the
// emulation and have tripped its X connection there; the 32-bit effects still run in the
// effects tests, the leak check and the re-entrancy cases.
class EffectSweep : public SweepSuite {
protected:
    void SetUp() override
    {
        if (kytest::is32Bit())
            GTEST_SKIP() << "draws too long for the emulated 32-bit run; it runs on x86-64";
    }
};

class SnapshotEffectSweep : public EffectSweep {};

TEST_F(SnapshotEffectSweep, EveryWindowKindEffectAndBlank)
{
    const EffectWindows w = makeEffectWindows();
    ASSERT_TRUE(showsFill(w.live, w.fill, 32, 24)) << "the window shows its picture before the effects";
    const WindowKind kinds[] = {
        {"null", NULL, false},         {"destroyed", w.stale, false},       {"zero-sized", w.empty, false},
        {"other thread", w.foreign->window, true}, {"minimized", w.minimized, true}, {"1 x 300", w.sliver, true},
        {"huge", w.huge, true},
    };
    struct Pick {
        int effect, blank;
    };
    for (const WindowKind &k : kinds) {
        timedCase("kyWindowBmpEffect", std::string(k.name) + " window, effects and blanks at the ends",
                  k.live ? drawn : quick, [&] {
                      for (const Pick &p : {Pick{INT_MIN, 1}, Pick{INT_MAX, 2}})
                          EXPECT_EQ(KYDLL(kyWindowBmpEffect)(k.window, p.effect, p.blank), 1) << "effect " << p.effect;
                  });
    }
    // Larger than the screen but small enough for a snapshot bitmap: the random blocks
    // would pause 9000 times over the whole of it, 200 times over a screen.
    HWND large = kytest::createTestWindow(-2000, -2000, 6000, 6000, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    timedCase("kyWindowBmpEffect", "6000 x 6000 window, random blocks", 5000,
              [&] { EXPECT_EQ(KYDLL(kyWindowBmpEffect)(large, 8, 1), 1); });
    sweep::destroyWindows({large});
    for (const Pick &p : {Pick{INT_MIN, 0}, Pick{-1, 3}, Pick{22, -1}, Pick{1000, INT_MIN}, Pick{INT_MAX, 1},
                          Pick{-5, INT_MAX}}) {
        timedCase("kyWindowBmpEffect", "ordinary window, effect " + num(p.effect) + " blank " + num(p.blank), drawn,
                  [&] {
                      EXPECT_EQ(KYDLL(kyWindowBmpEffect)(w.live, p.effect, p.blank), 1);
                      // However it got there, the window ends showing its own picture again.
                      EXPECT_EQ(sweep::pixelAt(w.live, 32, 24), w.fill) << "picture back";
                  });
    }
    for (const Pick &p : {Pick{INT_MIN, 3}, Pick{INT_MAX, -1}}) {
        timedCase("kyDesktopBmpEffect", "effect " + num(p.effect) + " blank " + num(p.blank), 60000,
                  [&] { EXPECT_EQ(KYDLL(kyDesktopBmpEffect)(p.effect, p.blank), 1); });
    }
    destroyEffectWindows(w);
}

TEST_F(SnapshotEffectSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

class CopyEffectSweep : public EffectSweep {};

// The window-to-window export and the two stand-alone window effects.
TEST_F(CopyEffectSweep, EveryPairAndWindowKind)
{
    const EffectWindows w = makeEffectWindows();
    ASSERT_TRUE(showsFill(w.live, w.fill, 32, 24)) << "the window shows its picture before the effects";
    struct Pair {
        const char *name;
        HWND target, source;
        bool drawsOnScreen;
    };
    for (const Pair &p : {Pair{"null onto null", NULL, NULL, false}, Pair{"null source", w.live, NULL, false},
                          Pair{"null target", NULL, w.live, false}, Pair{"destroyed target", w.stale, w.live, false},
                          Pair{"destroyed source", w.live, w.stale, false},
                          Pair{"zero-sized target", w.empty, w.live, false},
                          Pair{"zero-sized source", w.live, w.empty, true}, Pair{"itself", w.live, w.live, true},
                          Pair{"other thread's source", w.live, w.foreign->window, true},
                          Pair{"huge source", w.live, w.huge, true}, Pair{"huge target", w.huge, w.live, true},
                          Pair{"minimized target", w.minimized, w.live, true}}) {
        timedCase("kyWindowBmpEffect2", std::string(p.name) + ", effects at the ends", p.drawsOnScreen ? drawn : quick,
                  [&] {
                      // 8 pauses once per ten blocks: its time grows with the area.
                      for (int effect : {INT_MIN, INT_MAX, 8})
                          EXPECT_EQ(KYDLL(kyWindowBmpEffect2)(p.target, p.source, effect), 1) << "effect " << effect;
                  });
    }
    HWND tiny = kytest::createTestWindow(150, 20, 9, 9, RGB(9, 9, 9), WS_POPUP | WS_VISIBLE);
    // The huge window is left out of the two stand-alone effects: even over a screen-sized
    // part, the erase sets about 4 x W x H pixels and the sweep pauses once per column,
    // which costs seconds each; the effects' size limit is shown by the others above.
    const WindowKind standAlone[] = {
        {"null", NULL, false},          {"destroyed", w.stale, false},      {"zero-sized", w.empty, false},
        {"other thread", w.foreign->window, true}, {"minimized", w.minimized, true}, {"9 x 9", tiny, true},
        {"ordinary", w.live, true},
    };
    for (const WindowKind &k : standAlone) {
        timedCase("kyWindowErase", std::string(k.name) + " window", k.live ? drawn : quick,
                  [&] { EXPECT_EQ(KYDLL(kyWindowErase)(k.window), 1); });
        timedCase("kyWindowD1", std::string(k.name) + " window", k.live ? drawn : quick,
                  [&] { EXPECT_EQ(KYDLL(kyWindowD1)(k.window), 1); });
    }
    sweep::destroyWindows({tiny});
    destroyEffectWindows(w);
}

TEST_F(CopyEffectSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- shell elements, alternate desktop, lock keys --------------------------------------

class ShellSweep : public SweepSuite {};

TEST_F(ShellSweep, ElementsShownAndHiddenOutOfOrder)
{
    struct Element {
        const char *hide, *show;
        HWND (*find)();
        bool update;  // the result is UpdateWindow's, not ShowWindow's
    };
    static const Element elements[] = {
        {"kyHideTaskBar", "kyShowTaskBar", findTaskBar, false},
        {"kyHideStartButton", "kyShowStartButton", findStartButton, false},
        {"kyHideSystemClock", "kyShowSystemClock", findTrayClock, true},
        {"kyHideDesktop", "kyShowDesktop", [] { return GetDesktopWindow(); }, false},
    };
    for (const Element &e : elements) {
        auto hide = reinterpret_cast<int(KYCALL *)(void)>(kytest::exportAddress(e.hide));
        auto show = reinterpret_cast<int(KYCALL *)(void)>(kytest::exportAddress(e.show));
        // Out of order: show first, then hide twice, then show twice.
        for (const bool hiding : {false, true, true, false, false}) {
            timedCase(hiding ? e.hide : e.show, hiding ? "hide (show first, hide twice)" : "show (out of order, twice)",
                      shellCall, [&] {
                          HWND window = e.find();
                          const bool wasVisible = window && IsWindowVisible(window);
                          const int r = hiding ? hide() : show();
                          if (!window)
                              EXPECT_EQ(r, 0) << "no such shell window";
                          else if (e.update)
                              EXPECT_NE(r, 0) << "UpdateWindow of a live window succeeds";
                          else if ((IsWindowVisible(window) != 0) == hiding)
                              EXPECT_EQ(r, 0) << "refused by the system";  // Wine won't hide its desktop
                          else
                              EXPECT_EQ(r != 0, wasVisible) << "previous visibility";
                      });
        }
    }
    for (const char *name : {"kyHideDesktopIcons", "kyShowDesktopIcons", "kyShowDesktopIcons", "kyHideDesktopIcons"}) {
        timedCase(name, "out of order", quick, [&] {
            EXPECT_EQ(reinterpret_cast<int(KYCALL *)(void)>(kytest::exportAddress(name))(), 0) << "second ShowWindow";
        });
    }
}

TEST_F(ShellSweep, AlternateDesktopOffBeforeOnAndTwice)
{
    // On a thread of its own: a thread with windows can't change desktop.
    std::thread([] {
        timedCase("kyNewDesktopOff", "before any on", quick, [] { EXPECT_EQ(KYDLL(kyNewDesktopOff)(), 0); });
        timedCase("kyNewDesktopOn", "twice in a row", quick, [] {
            EXPECT_NE(KYDLL(kyNewDesktopOn)(), 0) << "first on";
            EXPECT_EQ(KYDLL(kyNewDesktopOn)(), 0) << "second on while one is active";
        });
        timedCase("kyNewDesktopOff", "twice after two ons", quick, [] {
            EXPECT_NE(KYDLL(kyNewDesktopOff)(), 0) << "first off closes";
            EXPECT_EQ(KYDLL(kyNewDesktopOff)(), 0) << "nothing left to close";
        });
    }).join();
}

TEST_F(ShellSweep, LockKeysWithAnyNumber)
{
    HWND focus = kytest::createTestWindow(200, 200, 160, 100, RGB(255, 255, 0), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetForegroundWindow(focus);
    SetFocus(focus);
    kytest::waitUntil([focus] { return GetForegroundWindow() == focus; }, 1000);
    struct Lock {
        const char *name;
        int key;
    };
    for (const Lock &l : {Lock{"kySetCapsLock", VK_CAPITAL}, Lock{"kySetNumLock", VK_NUMLOCK}}) {
        auto set = reinterpret_cast<void(KYCALL *)(int)>(kytest::exportAddress(l.name));
        BYTE state[256] = {};
        GetKeyboardState(state);
        const bool initially = state[l.key] & 1;
        for (int wanted : {INT_MIN, 0, -1, 0, 2, INT_MAX, 0}) {
            timedCase(l.name, "wanted " + num(wanted), quick, [&] {
                set(wanted);
                // Time for the key presses to arrive, or for a wrong one to show.
                kytest::pumpMessages(60);
                GetKeyboardState(state);
                EXPECT_EQ(state[l.key] & 1, wanted != 0 ? 1 : 0) << "toggle state";
            });
        }
        set(initially);
        kytest::pumpMessages(60);
    }
    sweep::destroyWindows({focus});
}

TEST_F(ShellSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// ---- clock and logo pairs -------------------------------------------------------------

class ClockSweep : public SweepSuite {};

HWND clockWindow()
{
    return FindWindowA("kydoru", "KY DORU CLOCK");
}

// How often the timers below look whether the clock's loop runs yet.
const UINT clockPollMs = 50;

int nestedResult = -1;

void CALLBACK closeClockNested(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!sweep::clockLoopRunning())
        return;  // not yet: the opening note or the depth warning is still up
    KillTimer(NULL, id);
    nestedResult = KYDLL(kySoftClock)();
}

void CALLBACK quitWhileClockRuns(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!sweep::clockLoopRunning())
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

// The cases after this one open the clock again, so reopening after a close is covered.
TEST_F(ClockSweep, ClosedByASecondCallFromAHandler)
{
    timedCase("kySoftClock", "opened, then closed by a second call from a handler", 10000, [] {
        nestedResult = -1;
        SetTimer(NULL, 0, clockPollMs, closeClockNested);
        EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "outer";
        EXPECT_EQ(nestedResult, 0) << "nested";
        EXPECT_EQ(clockWindow(), HWND(NULL)) << "the clock is gone";
        EXPECT_EQ(takeQuit(), -1) << "no quit left";
    });
}

TEST_F(ClockSweep, CallersQuitWhileTheClockRuns)
{
    timedCase("kySoftClock", "the caller's quit while the clock runs", 10000, [] {
        SetTimer(NULL, 0, clockPollMs, quitWhileClockRuns);
        EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "outer";
        EXPECT_EQ(clockWindow(), HWND(NULL)) << "the clock closed";
        EXPECT_EQ(takeQuit(), 7) << "quit passed on";
        // The toggle is still on: the next call is the closing one.
        EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "closing call";
    });
}

TEST_F(ClockSweep, QuitAlreadyWaitingWhenItOpens)
{
    timedCase("kySoftClock", "a quit already waiting when the clock opens", 10000, [] {
        PostQuitMessage(5);
        EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "outer";
        EXPECT_EQ(clockWindow(), HWND(NULL)) << "no clock left open";
        EXPECT_EQ(takeQuit(), 5) << "quit kept";
        EXPECT_EQ(KYDLL(kySoftClock)(), 0) << "the call after, whatever the toggle says";
        if (clockWindow())
            DestroyWindow(clockWindow());
    });
}

TEST_F(ClockSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

// Closes the show's window once it has shown for `afterMs`, until the show has returned.
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

class LogoSweep : public SweepSuite {
protected:
    // Probed once: each probe costs a window, and the emulated 32-bit Wine dies on a
    // second attempt at a pixel format.
    static void SetUpTestSuite()
    {
        SweepSuite::SetUpTestSuite();
        glUsable = logotest::glAvailable(&glWhy);
    }
    void SetUp() override
    {
        if (!glUsable)
            GTEST_SKIP() << "OpenGL is not available in this run (" << glWhy << ")";
    }
    static bool glUsable;
    static std::string glWhy;
};
bool LogoSweep::glUsable = false;
std::string LogoSweep::glWhy;

TEST_F(LogoSweep, ClosedAsSoonAsItShows)
{
    timedCase("kyLogo", "closed as soon as it shows", 20000, [] {
        ShowCloser closer(0);
        EXPECT_EQ(KYDLL(kyLogo)(), 0) << "ended";
        EXPECT_EQ(FindWindowA("OpenGL", NULL), HWND(NULL)) << "window gone";
    });
}

TEST_F(LogoSweep, QuitAlreadyWaitingWhenTheShowStarts)
{
    timedCase("kyLogo", "a quit already waiting when the show starts", 20000, [] {
        PostQuitMessage(9);
        // Closed only after the show has run a while with the quit in its queue.
        ShowCloser closer(300);
        EXPECT_EQ(KYDLL(kyLogo)(), 0) << "ended";
        EXPECT_EQ(takeQuit(), 9) << "the caller's quit is still there";
    });
}

TEST_F(LogoSweep, ItsClassNameAlreadyTaken)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "OpenGL";
    if (!RegisterClassA(&wc))
        GTEST_SKIP() << "the class could not be taken first";
    timedCase("kyLogo", "its class name already taken", 20000, [] {
        const size_t boxes = kytest::seenBoxes().size();
        EXPECT_EQ(KYDLL(kyLogo)(), -1) << "refused";
        EXPECT_GT(kytest::seenBoxes().size(), boxes) << "an Error box was shown";
    });
    UnregisterClassA("OpenGL", GetModuleHandleA(NULL));
}

TEST_F(LogoSweep, NoPicturesInTheCurrentFolder)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "kyrobust_empty_" + num(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), NULL);
    {
        logotest::InFolder there(folder);
        timedCase("kyLogo", "no pictures in the current folder", 20000, [] {
            ShowCloser closer(0);  // only needed if the show wrongly runs
            EXPECT_EQ(KYDLL(kyLogo)(), 0) << "ended silently";
        });
    }
    RemoveDirectoryA(folder.c_str());
}

TEST_F(LogoSweep, SweptEveryExportOfItsArea)
{
    expectAreaSwept();
}

}  // namespace
