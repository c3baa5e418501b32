// The process's one serial port, kept for the serial channel exports.
#pragma once
#include <windows.h>

// Zero as loaded, the port after a successful ky_ComOpen, INVALID_HANDLE_VALUE after a
// failed one, zero again after ky_ClosePort.
extern HANDLE comHandle;

// The defaults every successful open applies.
enum : DWORD {
    defaultBaud = 19200,
    defaultByteSize = 8,
    defaultReadInterval = 60,
    defaultReadTotalMultiplier = 100,
    defaultReadTotalConstant = 1,
    defaultWriteTotalMultiplier = 60,
    defaultWriteTotalConstant = 100,
};
