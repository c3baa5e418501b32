// Line settings and time-outs of the serial channel as plain record edits; the exports
// only read the port's records, pass them through here and write them back.
#include "device/linesettings.h"

#include <stddef.h>
#include <string.h>

// The flags word sits right after DCBlength and BaudRate on every Windows build.
static const size_t dcbFlagsOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
static_assert(offsetof(DCB, wReserved) == dcbFlagsOffset + sizeof(DWORD), "the DCB flags word is one DWORD");
#if !defined(_WIN64)
static_assert(sizeof(DCB) == 28, "the DCB is 28 bytes on 32-bit Windows");
static_assert(sizeof(COMMTIMEOUTS) == 20, "COMMTIMEOUTS is 20 bytes on 32-bit Windows");
#endif

DWORD lineFlagsWord(DWORD oldFlags, int parityCheck)
{
    return (oldFlags & ~DWORD(lineFlagsReplaced)) | (DWORD(parityCheck & 1) << 1) | lineFlagsForced;
}

DWORD dcbFlagsWord(const DCB *dcb)
{
    DWORD flags;
    memcpy(&flags, reinterpret_cast<const char *>(dcb) + dcbFlagsOffset, sizeof flags);
    return flags;
}

void setDcbFlagsWord(DCB *dcb, DWORD flags)
{
    memcpy(reinterpret_cast<char *>(dcb) + dcbFlagsOffset, &flags, sizeof flags);
}

void applyLineSettings(DCB *dcb, unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits)
{
    // The whole rate: cutting it to 16 bits would turn 115200 into 49664.
    dcb->BaudRate = baud;
    dcb->ByteSize = static_cast<BYTE>(byteSize);
    dcb->Parity = static_cast<BYTE>(parity);
    dcb->StopBits = static_cast<BYTE>(stopBits);
    setDcbFlagsWord(dcb, lineFlagsWord(dcbFlagsWord(dcb), parityCheck));
}

void applyTimeouts(COMMTIMEOUTS *timeouts, DWORD readInterval, DWORD readTotalMultiplier,
                   DWORD readTotalConstant, DWORD writeTotalMultiplier, DWORD writeTotalConstant)
{
    timeouts->ReadIntervalTimeout = readInterval;
    timeouts->ReadTotalTimeoutMultiplier = readTotalMultiplier;
    timeouts->ReadTotalTimeoutConstant = readTotalConstant;
    timeouts->WriteTotalTimeoutMultiplier = writeTotalMultiplier;
    timeouts->WriteTotalTimeoutConstant = writeTotalConstant;
}
