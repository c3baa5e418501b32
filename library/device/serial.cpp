// The serial channel exports: one synchronous, byte-at-a-time port for the whole process.
// None takes a handle; all work on comHandle, and a port that is not open makes the
// system call fail, which the export reports as its result.
#include "exports.h"
#include "device/linesettings.h"
#include "device/serial.h"

#include <string.h>

HANDLE comHandle;
SerialCalls serialCalls = {CreateFileA, GetCommState, SetCommState, CloseHandle};

// The handle the system calls get. INVALID_HANDLE_VALUE doubles as the process's own
// pseudo-handle, on which CloseHandle reports success; after a failed open the calls
// must fail instead, so they are given the null handle.
static HANDLE port()
{
    return comHandle == INVALID_HANDLE_VALUE ? NULL : comHandle;
}

// Closes the open port, if any, and forgets it.
static BOOL closePort()
{
    HANDLE open = port();
    comHandle = NULL;
    return open ? serialCalls.closeHandle(open) : FALSE;
}

extern "C" HANDLE KYCALL ky_ComOpen(const char *name)
{
    // The open channel is closed first: overwriting its handle would hold the port until
    // the process ends, and a new open of the same port would then always fail.
    closePort();
    if (!name) {
        comHandle = INVALID_HANDLE_VALUE;
        return 0;
    }
    // Exclusive: no other handle (of this process or another) may hold the port.
    comHandle = serialCalls.createFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (comHandle == INVALID_HANDLE_VALUE)
        return 0;
    ky_ComConf(defaultBaud, defaultByteSize, 0, NOPARITY, ONESTOPBIT);
    ky_SetComTimeouts(defaultReadInterval, defaultReadTotalMultiplier, defaultReadTotalConstant,
                      defaultWriteTotalMultiplier, defaultWriteTotalConstant);
    return comHandle;
}

extern "C" int KYCALL ky_ComConf(unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits)
{
    DCB dcb;
    memset(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    if (!serialCalls.getCommState(port(), &dcb))
        return 0;
    applyLineSettings(&dcb, baud, byteSize, parityCheck, parity, stopBits);
    return serialCalls.setCommState(port(), &dcb) ? 1 : 0;
}

extern "C" int KYCALL ky_SetComTimeouts(unsigned int readInterval, unsigned int readTotalMultiplier,
                                        unsigned int readTotalConstant, unsigned int writeTotalMultiplier,
                                        unsigned int writeTotalConstant)
{
    COMMTIMEOUTS timeouts;
    if (!GetCommTimeouts(port(), &timeouts))
        return 0;
    applyTimeouts(&timeouts, readInterval, readTotalMultiplier, readTotalConstant, writeTotalMultiplier,
                  writeTotalConstant);
    return SetCommTimeouts(port(), &timeouts) ? 1 : 0;
}

extern "C" int KYCALL ky_WriteByte(const unsigned char *source)
{
    unsigned char byte = *source;
    DWORD written = 0;
    // A write time-out completes the call without the byte: that is a failure too.
    return WriteFile(port(), &byte, 1, &written, NULL) && written == 1 ? 1 : 0;
}

extern "C" int KYCALL ky_ReadByte(unsigned char *target)
{
    *target = 0;
    unsigned char byte = 0;
    DWORD received = 0;
    if (!ReadFile(port(), &byte, 1, &received, NULL) || received != 1)
        return 0;
    *target = byte;
    return 1;
}

extern "C" int KYCALL ky_ClosePort(void)
{
    // The value is forgotten: the system may hand it out again for another object of the
    // caller's, which later serial calls would then read, write or close.
    return closePort();
}

extern "C" int KYCALL kySetupComm(int, unsigned int inputQueueSize, unsigned int outputQueueSize)
{
    return SetupComm(port(), inputQueueSize, outputQueueSize);
}

extern "C" int KYCALL kyCommRTerminate(void)
{
    return PurgeComm(port(), PURGE_RXABORT);
}

extern "C" int KYCALL kyCommWTerminate(void)
{
    return PurgeComm(port(), PURGE_TXABORT);
}

extern "C" int KYCALL kyCommIBClear(void)
{
    return PurgeComm(port(), PURGE_RXCLEAR);
}

extern "C" int KYCALL kyCommOBClear(void)
{
    return PurgeComm(port(), PURGE_TXCLEAR);
}
