// Suspend, hibernate, forced restart and monitor power-down. The first three need the
// shutdown privilege, which is enabled on the process's own token just before acting.
#include "exports.h"
#include "shell/power.h"

#include <string.h>

PowerCalls powerCalls = {
    GetCurrentProcess, OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges, CloseHandle,
    ExitWindowsEx,     SetSystemPowerState, GetDesktopWindow,    SendMessageA,
};

void buildShutdownPrivilege(TOKEN_PRIVILEGES *request, LUID luid)
{
    memset(request, 0, sizeof *request);
    request->PrivilegeCount = 1;
    request->Privileges[0].Luid = luid;
    request->Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
}

bool enableShutdownPrivilege()
{
    HANDLE token = NULL;
    if (!powerCalls.openProcessToken(powerCalls.getCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token))
        return false;
    bool enabled = false;
    LUID luid;
    if (powerCalls.lookupPrivilegeValueA(NULL, SE_SHUTDOWN_NAME, &luid)) {
        TOKEN_PRIVILEGES request;
        buildShutdownPrivilege(&request, luid);
        enabled = powerCalls.adjustTokenPrivileges(token, FALSE, &request, 0, NULL, NULL) != 0;
    }
    // The token is ours only for this request; every call would leak one otherwise.
    powerCalls.closeHandle(token);
    return enabled;
}

extern "C" int KYCALL kyPerformReboot(void)
{
    if (!enableShutdownPrivilege())
        return 0;
    return powerCalls.exitWindowsEx(rebootFlags, 0) ? 1 : 0;
}

extern "C" int KYCALL kySystemPowerSuspend(void)
{
    if (!enableShutdownPrivilege())
        return 0;
    return powerCalls.setSystemPowerState(TRUE, TRUE);
}

extern "C" int KYCALL kySystemPowerHibernate(void)
{
    if (!enableShutdownPrivilege())
        return 0;
    return powerCalls.setSystemPowerState(FALSE, TRUE);
}

extern "C" LRESULT KYCALL kyMonitorOff(void)
{
    return powerCalls.sendMessageA(powerCalls.getDesktopWindow(), WM_SYSCOMMAND, SC_MONITORPOWER, monitorLowPower);
}
