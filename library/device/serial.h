// The process's one serial port, kept for the serial channel exports.
#pragma once
#include <windows.h>

// Zero as loaded, the port after a successful ky_ComOpen, INVALID_HANDLE_VALUE after a
// failed one, zero again after ky_ClosePort. ky_ComOpen closes an open port first.
extern HANDLE comHandle;

// The system calls that open, configure and close the port, replaceable by tests so
// they can see the share mode, the exact line record and the order of close and open.
struct SerialCalls {
    HANDLE(WINAPI *createFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI *getCommState)(HANDLE, LPDCB);
    BOOL(WINAPI *setCommState)(HANDLE, LPDCB);
    BOOL(WINAPI *closeHandle)(HANDLE);
};
extern SerialCalls serialCalls;

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
