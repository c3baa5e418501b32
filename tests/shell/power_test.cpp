// Power, restart and monitor. Every system call that could act on the machine is
// replaced here, so these tests only record what would be asked; the real forced restart
// is requested by restart_child.exe inside a throwaway Wine prefix (restart_throwaway.sh).
#include "kytest.h"

#include <string>
#include <vector>

#include "shell/power.h"

namespace {

const HANDLE fakeProcess = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x4444));
const HANDLE fakeToken = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5555));
const LUID fakeLuid = {0x13, 0};

struct Calls {
    bool openOk = true, lookupOk = true;
    BOOL adjustResult = TRUE, exitResult = TRUE, powerResult = TRUE;
    std::vector<std::string> log;
    DWORD access = 0;
    std::string systemName = "-", privilege;
    TOKEN_PRIVILEGES request = {};
    BOOL disableAll = -1;
    DWORD bufferLength = 99;
    bool previousPointers = true;
    UINT exitFlags = 0;
    DWORD exitReserved = 99;
    BOOL suspend = -1, force = -1;
    HWND desktop = NULL;
} calls;

HANDLE WINAPI fakeGetCurrentProcess() { return fakeProcess; }

BOOL WINAPI fakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token)
{
    calls.log.push_back(process == fakeProcess ? "open" : "open(other process)");
    calls.access = access;
    *token = calls.openOk ? fakeToken : NULL;
    return calls.openOk;
}

BOOL WINAPI fakeLookup(LPCSTR systemName, LPCSTR name, PLUID luid)
{
    calls.log.push_back("lookup");
    calls.systemName = systemName ? systemName : "";
    calls.privilege = name ? name : "";
    *luid = fakeLuid;
    return calls.lookupOk;
}

BOOL WINAPI fakeAdjust(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES request, DWORD length, PTOKEN_PRIVILEGES previous,
                       PDWORD returned)
{
    calls.log.push_back(token == fakeToken ? "adjust" : "adjust(other token)");
    calls.disableAll = disableAll;
    calls.request = *request;
    calls.bufferLength = length;
    calls.previousPointers = previous || returned;
    return calls.adjustResult;
}

BOOL WINAPI fakeClose(HANDLE handle)
{
    calls.log.push_back(handle == fakeToken ? "close" : "close(other handle)");
    return TRUE;
}

BOOL WINAPI fakeExitWindows(UINT flags, DWORD reserved)
{
    calls.log.push_back("exit");
    calls.exitFlags = flags;
    calls.exitReserved = reserved;
    return calls.exitResult;
}

BOOL WINAPI fakePowerState(BOOL suspend, BOOL force)
{
    calls.log.push_back("power");
    calls.suspend = suspend;
    calls.force = force;
    return calls.powerResult;
}

HWND WINAPI fakeDesktop() { return calls.desktop; }

LRESULT WINAPI refuseToSend(HWND, UINT, WPARAM, LPARAM)
{
    ADD_FAILURE() << "no message may be sent";
    return 0;
}

using Log = std::vector<std::string>;

class PowerRequests : public testing::Test {
protected:
    void SetUp() override
    {
        saved = powerCalls;
        powerCalls = {fakeGetCurrentProcess, fakeOpenProcessToken, fakeLookup, fakeAdjust,   fakeClose,
                      fakeExitWindows,       fakePowerState,       fakeDesktop, refuseToSend};
        calls = Calls();
    }
    void TearDown() override { powerCalls = saved; }
    PowerCalls saved;
};

TEST_F(PowerRequests, PrivilegeStepEnablesShutdownOnOwnTokenAndClosesIt)
{
    EXPECT_TRUE(enableShutdownPrivilege());
    EXPECT_EQ(calls.log, (Log{"open", "lookup", "adjust", "close"}));
    EXPECT_EQ(calls.access, DWORD(TOKEN_ADJUST_PRIVILEGES));
    EXPECT_EQ(calls.systemName, "") << "the local system";
    EXPECT_EQ(calls.privilege, "SeShutdownPrivilege");
    EXPECT_EQ(calls.disableAll, FALSE);
    EXPECT_EQ(calls.request.PrivilegeCount, DWORD(1));
    EXPECT_EQ(calls.request.Privileges[0].Luid.LowPart, fakeLuid.LowPart);
    EXPECT_EQ(calls.request.Privileges[0].Attributes, DWORD(SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(calls.bufferLength, DWORD(0));
    EXPECT_FALSE(calls.previousPointers);
}

TEST_F(PowerRequests, EachFailingPrivilegeStepStopsEveryAction)
{
    calls.openOk = false;
    EXPECT_EQ(kyPerformReboot(), 0);
    EXPECT_EQ(calls.log, (Log{"open"})) << "nothing opened, nothing to close";

    calls = Calls();
    calls.lookupOk = false;
    EXPECT_EQ(kySystemPowerSuspend(), 0);
    EXPECT_EQ(calls.log, (Log{"open", "lookup", "close"}));

    calls = Calls();
    calls.adjustResult = FALSE;
    EXPECT_EQ(kySystemPowerHibernate(), 0);
    EXPECT_EQ(calls.log, (Log{"open", "lookup", "adjust", "close"}));
}

TEST_F(PowerRequests, RestartIsForcedAndItsResultNormalised)
{
    calls.exitResult = 5;
    EXPECT_EQ(kyPerformReboot(), 1);
    EXPECT_EQ(calls.log, (Log{"open", "lookup", "adjust", "close", "exit"}));
    EXPECT_EQ(calls.exitFlags, UINT(EWX_REBOOT | EWX_FORCE));
    EXPECT_EQ(calls.exitReserved, DWORD(0));
    calls.exitResult = FALSE;
    EXPECT_EQ(kyPerformReboot(), 0) << "a refused restart (no shutdown right) is a failure";
}

TEST_F(PowerRequests, SuspendAndHibernateDifferOnlyInTheFirstArgument)
{
    calls.powerResult = 7;
    EXPECT_EQ(kySystemPowerSuspend(), 7) << "the system's value, unchanged";
    EXPECT_EQ(calls.suspend, TRUE);
    EXPECT_EQ(calls.force, TRUE);
    calls.powerResult = FALSE;
    EXPECT_EQ(kySystemPowerHibernate(), 0) << "hibernation unavailable";
    EXPECT_EQ(calls.suspend, FALSE);
    EXPECT_EQ(calls.force, TRUE);
}

UINT monitorMessage;
WPARAM monitorWParam;
LPARAM monitorLParam;

LRESULT CALLBACK recordMonitorRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        monitorMessage = message;
        monitorWParam = wParam;
        monitorLParam = lParam;
        return 0x1234;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PowerRequests, MonitorOffSendsLowPowerToTheDesktopWindowAndReturnsItsAnswer)
{
    HWND standIn = kytest::createTestWindow(10, 10, 100, 80, RGB(0, 0, 0));
    ASSERT_NE(standIn, nullptr);
    SetWindowLongPtrA(standIn, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordMonitorRequest));
    calls.desktop = standIn;
    powerCalls.sendMessageA = SendMessageA;
    EXPECT_EQ(kyMonitorOff(), 0x1234) << "the window's answer, unchanged";
    EXPECT_EQ(monitorMessage, UINT(WM_SYSCOMMAND));
    EXPECT_EQ(monitorWParam, WPARAM(SC_MONITORPOWER));
    EXPECT_EQ(monitorLParam, 1) << "low power, not off (2)";
    EXPECT_TRUE(calls.log.empty()) << "no privilege step";
    DestroyWindow(standIn);
}

TEST(PowerPrivilege, RealPrivilegeStepSucceedsAndLeaksNoHandle)
{
    PowerCalls saved = powerCalls;
    // Only the token calls are real; nothing that acts on the machine is reachable.
    powerCalls.exitWindowsEx = fakeExitWindows;
    powerCalls.setSystemPowerState = fakePowerState;
    powerCalls.sendMessageA = refuseToSend;
    EXPECT_TRUE(enableShutdownPrivilege());
    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int i = 0; i < 20; ++i)
        enableShutdownPrivilege();
    GetProcessHandleCount(GetCurrentProcess(), &after);
    powerCalls = saved;
    EXPECT_EQ(after, before) << "the token is closed after every request";
}

TEST(PowerPrivilege, TheDllExportsThePowerGroup)
{
    // Bound only: calling them here would act on the shared test prefix.
    for (const char *name : {"kyPerformReboot", "kySystemPowerSuspend", "kySystemPowerHibernate", "kyMonitorOff"})
        EXPECT_NE(kytest::exportAddress(name), nullptr) << name;
}

}  // namespace
