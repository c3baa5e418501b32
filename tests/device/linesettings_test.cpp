// Serial line settings as pure record edits: the DCB fields ky_ComConf writes, checked
// through the platform's own bit fields over many inputs, and the time-out record.
#include "kytest.h"

#include <climits>
#include <cstring>
#include <random>

#include "device/linesettings.h"

namespace {

// A DCB whose every byte is `fill`, then the flags word set to `flags`.
DCB patternedDcb(unsigned char fill, DWORD flags)
{
    DCB dcb;
    memset(&dcb, fill, sizeof dcb);
    setDcbFlagsWord(&dcb, flags);
    return dcb;
}

void expectFlagsFollowTheFieldRules(DWORD oldFlags, int parityCheck)
{
    DCB before = patternedDcb(0xA5, oldFlags);
    DCB dcb = before;
    applyLineSettings(&dcb, 9600, 7, parityCheck, EVENPARITY, TWOSTOPBITS);
    SCOPED_TRACE(testing::Message() << "old flags 0x" << std::hex << oldFlags << std::dec
                                    << ", parity check " << parityCheck);
    EXPECT_EQ(dcb.fBinary, 1u) << "binary mode is always on";
    EXPECT_EQ(dcb.fParity, DWORD(parityCheck & 1)) << "only bit 0 of the parity check counts";
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
    EXPECT_EQ(dcb.fDtrControl, DWORD(DTR_CONTROL_DISABLE));
    EXPECT_EQ(dcb.fDsrSensitivity, 0u);
    EXPECT_EQ(dcb.fTXContinueOnXoff, before.fTXContinueOnXoff) << "fTXContinueOnXoff is the port's own";
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fErrorChar, before.fErrorChar) << "fErrorChar is the port's own";
    EXPECT_EQ(dcb.fNull, 0u);
    EXPECT_EQ(dcb.fRtsControl, DWORD(RTS_CONTROL_DISABLE));
    EXPECT_EQ(dcb.fAbortOnError, 1u);
    EXPECT_EQ(dcb.fDummy2, before.fDummy2) << "reserved bits are the port's own";
    EXPECT_EQ(dcbFlagsWord(&dcb), lineFlagsWord(oldFlags, parityCheck));
}

TEST(LineSettings, FlagsWordMatchesTheFieldRulesOverManyInputs)
{
    const int parityChecks[] = {0, 1, 2, 3, -1, -2, 255, 256, INT_MAX, INT_MIN};
    const DWORD edges[] = {0, 0xFFFFFFFF, lineFlagsReplaced, ~DWORD(lineFlagsReplaced), 0x80, 0x400, 0x4001};
    for (int parityCheck : parityChecks) {
        for (DWORD flags : edges)
            expectFlagsFollowTheFieldRules(flags, parityCheck);
        for (int bit = 0; bit < 32; ++bit)
            expectFlagsFollowTheFieldRules(DWORD(1) << bit, parityCheck);
    }
    std::mt19937 random(4);
    for (int i = 0; i < 2000; ++i)
        expectFlagsFollowTheFieldRules(random(), int(random()));
    // The documented values: cleared bits 1-6, 8, 9, 11-13; set bits 0 and 14.
    EXPECT_EQ(lineFlagsWord(0, 0), 0x4001u);
    EXPECT_EQ(lineFlagsWord(0xFFFFFFFF, 0), 0xFFFFC481u);
    EXPECT_EQ(lineFlagsWord(0xFFFFFFFF, 3), 0xFFFFC483u);
}

TEST(LineSettings, ByteSettingsUseTheLowBitsAndBaudIsWhole)
{
    DCB dcb = patternedDcb(0x5A, 0);
    applyLineSettings(&dcb, 115200, 8, 0, NOPARITY, ONESTOPBIT);
    EXPECT_EQ(dcb.BaudRate, 115200u) << "the whole 32-bit rate, not its low 16 bits (49664)";
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);

    applyLineSettings(&dcb, 0x12344B00, 0x107, 0, 0x302, 0x401);
    EXPECT_EQ(dcb.BaudRate, 0x12344B00u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.StopBits, ONE5STOPBITS);

    applyLineSettings(&dcb, 19200, 8, 0, 0, 0);
    EXPECT_EQ(dcb.BaudRate, 19200u);
}

TEST(LineSettings, FieldsNotNamedKeepTheirValues)
{
    DCB before = patternedDcb(0xC3, 0x12345678);
    DCB dcb = before;
    applyLineSettings(&dcb, 300, 5, 1, ODDPARITY, TWOSTOPBITS);
    EXPECT_EQ(dcb.DCBlength, before.DCBlength);
    EXPECT_EQ(dcb.wReserved, before.wReserved);
    EXPECT_EQ(dcb.XonLim, before.XonLim);
    EXPECT_EQ(dcb.XoffLim, before.XoffLim);
    EXPECT_EQ(dcb.XonChar, before.XonChar);
    EXPECT_EQ(dcb.XoffChar, before.XoffChar);
    EXPECT_EQ(dcb.ErrorChar, before.ErrorChar);
    EXPECT_EQ(dcb.EofChar, before.EofChar);
    EXPECT_EQ(dcb.EvtChar, before.EvtChar);
    EXPECT_EQ(dcb.wReserved1, before.wReserved1);
}

TEST(LineSettings, TimeoutsAreWrittenInRecordOrder)
{
    COMMTIMEOUTS timeouts;
    memset(&timeouts, 0xEE, sizeof timeouts);
    applyTimeouts(&timeouts, 60, 100, 1, 60, 100);
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 60u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 1u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 60u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 100u);
    applyTimeouts(&timeouts, 1, 2, 3, 4, MAXDWORD);
    const DWORD expected[] = {1, 2, 3, 4, MAXDWORD};
    EXPECT_EQ(memcmp(&timeouts, expected, sizeof expected), 0) << "five DWORDs in the record's order";
}

}  // namespace
