// kyProcSpeed: processor 0's clock rate in MHz as the system recorded it at start-up.
// It measures nothing; 0 stands for "unknown" and for every failure.
#include "exports.h"
#include "device/procspeed.h"

const ProcSpeedKey systemProcSpeedKey = {HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
                                         "~MHz"};
ProcSpeedKey procSpeedKey = {HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "~MHz"};

extern "C" unsigned int KYCALL kyProcSpeed(void)
{
    HKEY key;
    if (RegOpenKeyExA(procSpeedKey.root, procSpeedKey.subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    // Zeroed so a value shorter than 4 bytes reads as its own bytes, not stack leftovers.
    DWORD mhz = 0;
    DWORD size = sizeof mhz;
    LONG status = RegQueryValueExA(key, procSpeedKey.valueName, NULL, NULL, reinterpret_cast<BYTE *>(&mhz), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? mhz : 0;
}
