// Power, restart and monitor. Every system call that could act on the machine is
// replaced here, so these tests only record what would be asked; the real forced restart
// is requested by restart_child.exe inside a throwaway Wine prefix (restart_throwaway.sh).
#include "kytest.h"
#include "handles.h"

#include <string>

#include "shell/power.h"

namespace {

const HANDLE fakeProcess = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x44));
const HANDLE fakeToken = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x55));

// What each replaced call answers, and every call with its arguments, in order.
BOOL openResult, lookupResult, adjustResult, exitResult, powerResult;
std::string calls;

void record(const char *format, ...)
{
    char line[160];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    calls += line;
}

HANDLE WINAPI fakeGetCurrentProcess() { return fakeProcess; }

BOOL WINAPI fakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token)
{
    record("open(%s,%#lx) ", process == fakeProcess ? "self" : "other", access);
    *token = openResult ? fakeToken : NULL;
    return openResult;
}

BOOL WINAPI fakeLookup(LPCSTR systemName, LPCSTR name, PLUID luid)
{
    record("lookup(%s,%s) ", systemName ? systemName : "local", name);
    *luid = LUID{0x13, 0};
    return lookupResult;
}

BOOL WINAPI fakeAdjust(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES request, DWORD length,
                       PTOKEN_PRIVILEGES previous, PDWORD returned)
{
    record("adjust(%s,%d,count %lu,luid %#lx,attr %lu,%lu,%d,%d) ", token == fakeToken ? "token" : "other",
           disableAll, request->PrivilegeCount, request->Privileges[0].Luid.LowPart,
           request->Privileges[0].Attributes, length, previous != NULL, returned != NULL);
    return adjustResult;
}

BOOL WINAPI fakeClose(HANDLE handle)
{
    record("close(%s) ", handle == fakeToken ? "token" : "other");
    return TRUE;
}

BOOL WINAPI fakeExitWindows(UINT flags, DWORD reserved)
{
    record("exit(%u,%lu) ", flags, reserved);
    return exitResult;
}

BOOL WINAPI fakePowerState(BOOL suspend, BOOL force)
{
    record("power(%d,%d) ", suspend, force);
    return powerResult;
}

HWND monitorTarget;
HWND WINAPI fakeDesktop() { return monitorTarget; }

LRESULT WINAPI refuseToSend(HWND, UINT, WPARAM, LPARAM)
{
    ADD_FAILURE() << "no message may be sent";
    return 0;
}

class PowerRequests : public testing::Test {
protected:
    void SetUp() override
    {
        saved = powerCalls;
        powerCalls = {fakeGetCurrentProcess, fakeOpenProcessToken, fakeLookup,  fakeAdjust,  fakeClose,
                      fakeExitWindows,       fakePowerState,       fakeDesktop, refuseToSend};
        openResult = lookupResult = adjustResult = exitResult = powerResult = TRUE;
        calls.clear();
    }
    void TearDown() override { powerCalls = saved; }
    PowerCalls saved;
};

const std::string privilegeStep =
    "open(self,0x20) lookup(local,SeShutdownPrivilege) "
    "adjust(token,0,count 1,luid 0x13,attr 2,0,0,0) close(token) ";

TEST_F(PowerRequests, RestartEnablesTheShutdownPrivilegeThenForcesARestart)
{
    exitResult = 5;
    EXPECT_EQ(kyPerformReboot(), 1) << "normalised";
    EXPECT_EQ(calls, privilegeStep + "exit(6,0) ");
    exitResult = FALSE;
    EXPECT_EQ(kyPerformReboot(), 0) << "a refused restart (no shutdown right) is a failure";
}

TEST_F(PowerRequests, SuspendAndHibernateDifferOnlyInTheFirstArgumentAndPassTheResultOn)
{
    powerResult = 7;
    EXPECT_EQ(kySystemPowerSuspend(), 7);
    EXPECT_EQ(calls, privilegeStep + "power(1,1) ");
    calls.clear();
    powerResult = FALSE;
    EXPECT_EQ(kySystemPowerHibernate(), 0) << "hibernation unavailable";
    EXPECT_EQ(calls, privilegeStep + "power(0,1) ");
}

TEST_F(PowerRequests, EachFailingPrivilegeStepStopsTheAction)
{
    openResult = FALSE;
    EXPECT_EQ(kyPerformReboot(), 0);
    EXPECT_EQ(calls, "open(self,0x20) ") << "nothing opened, nothing to close";
    openResult = TRUE;
    lookupResult = FALSE;
    calls.clear();
    EXPECT_EQ(kySystemPowerSuspend(), 0);
    EXPECT_EQ(calls, "open(self,0x20) lookup(local,SeShutdownPrivilege) close(token) ");
    lookupResult = TRUE;
    adjustResult = FALSE;
    calls.clear();
    EXPECT_EQ(kySystemPowerHibernate(), 0);
    EXPECT_EQ(calls, privilegeStep);
}

UINT seenMessage;
WPARAM seenWParam;
LPARAM seenLParam;

LRESULT CALLBACK recordSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_SYSCOMMAND)
        return DefWindowProcA(window, message, wParam, lParam);
    seenMessage = message, seenWParam = wParam, seenLParam = lParam;
    return 0x1234;
}

TEST_F(PowerRequests, MonitorOffSendsLowPowerToTheDesktopWindowAndReturnsItsAnswer)
{
    // A window of ours stands in for the desktop: the real screen never gets the request.
    monitorTarget = kytest::createTestWindow(10, 10, 100, 80, RGB(0, 0, 0));
    ASSERT_NE(monitorTarget, nullptr);
    SetWindowLongPtrA(monitorTarget, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordSysCommand));
    powerCalls.sendMessageA = SendMessageA;
    EXPECT_EQ(kyMonitorOff(), 0x1234) << "the window's answer, unchanged";
    EXPECT_EQ(seenMessage, UINT(WM_SYSCOMMAND));
    EXPECT_EQ(seenWParam, WPARAM(SC_MONITORPOWER));
    EXPECT_EQ(seenLParam, 1) << "low power, not off (2)";
    EXPECT_EQ(calls, "") << "no privilege step";
    DestroyWindow(monitorTarget);
}

TEST(PowerPrivilege, RealPrivilegeStepSucceedsAndLeaksNoHandle)
{
    PowerCalls saved = powerCalls;
    // Only the token calls are real; nothing that acts on the machine is reachable.
    powerCalls.exitWindowsEx = fakeExitWindows;
    powerCalls.setSystemPowerState = fakePowerState;
    powerCalls.sendMessageA = refuseToSend;
    EXPECT_TRUE(enableShutdownPrivilege());
    const long before = kytest::openHandleCount();
    for (int i = 0; i < 20; ++i)
        enableShutdownPrivilege();
    const long after = kytest::openHandleCount();
    powerCalls = saved;
    ASSERT_GE(before, 0) << "this system doesn't tell the process's handle count";
    EXPECT_EQ(after, before) << "the token is closed after every request";
}

}  // namespace
