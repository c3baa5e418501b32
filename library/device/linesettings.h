// The serial channel's line settings and time-outs, computed apart from the port so
// their exact values can be checked without a serial line.
#pragma once
#include <windows.h>

// DCB flag bits ky_ComConf sets outright: the flow-control, DTR/RTS, null-stripping and
// parity-check bits. fTXContinueOnXoff, fErrorChar and the reserved bits are left alone.
enum : DWORD {
    lineFlagsReplaced = 0x3B7E,  // bits 1-6, 8, 9 and 11-13
    lineFlagsForced = 0x4001,    // fBinary (bit 0) and fAbortOnError (bit 14)
};

// The DCB flags word after ky_ComConf: `oldFlags` with the replaced bits cleared, fParity
// taken from bit 0 of `parityCheck`, binary mode and abort-on-error set.
DWORD lineFlagsWord(DWORD oldFlags, int parityCheck);

// The flags word of a DCB (the bit fields after BaudRate) as one number, and back.
DWORD dcbFlagsWord(const DCB *dcb);
void setDcbFlagsWord(DCB *dcb, DWORD flags);

// Applies ky_ComConf's arguments to a DCB read from the port: `baud` whole, the low 8
// bits of the three byte-sized settings; every field not named here keeps the value read.
void applyLineSettings(DCB *dcb, unsigned int baud, int byteSize, int parityCheck, int parity, int stopBits);

// Replaces all five time-outs, in the record's own order.
void applyTimeouts(COMMTIMEOUTS *timeouts, DWORD readInterval, DWORD readTotalMultiplier,
                   DWORD readTotalConstant, DWORD writeTotalMultiplier, DWORD writeTotalConstant);
