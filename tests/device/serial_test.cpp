// The serial channel through the DLL, against a real line: COM7 of the test prefix is
// one end of a socat pty pair and COM8 the other, which the tests drive with plain
// CreateFileA/ReadFile/WriteFile as the far device.
#include "kytest.h"

#include <string>
#include <vector>

#include "device/serial.h"
#include "handles.h"

namespace {

const char nearPort[] = "COM7", farPort[] = "COM8";

double millisecondsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

LARGE_INTEGER now()
{
    LARGE_INTEGER at;
    QueryPerformanceCounter(&at);
    return at;
}

// The results of every export except ky_ComOpen, which must all be 0 without an open port.
void expectEveryExportFails(const char *state)
{
    SCOPED_TRACE(state);
    unsigned char byte = 0x55;
    EXPECT_EQ(KYDLL(ky_ReadByte)(&byte), 0);
    EXPECT_EQ(byte, 0) << "the caller's byte is cleared even when nothing is read";
    byte = 'x';
    EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 0);
    EXPECT_EQ(KYDLL(ky_ComConf)(19200, 8, 0, 0, 0), 0);
    EXPECT_EQ(KYDLL(ky_SetComTimeouts)(60, 100, 1, 60, 100), 0);
    EXPECT_EQ(KYDLL(kySetupComm)(0, 4096, 4096), 0);
    EXPECT_EQ(KYDLL(kyCommRTerminate)(), 0);
    EXPECT_EQ(KYDLL(kyCommWTerminate)(), 0);
    EXPECT_EQ(KYDLL(kyCommIBClear)(), 0);
    EXPECT_EQ(KYDLL(kyCommOBClear)(), 0);
    EXPECT_EQ(KYDLL(ky_ClosePort)(), 0);
}

// First in this program to touch the DLL's port: the library is as loaded.
TEST(SerialChannel, EveryExportFailsBeforeAnyOpen)
{
    expectEveryExportFails("the DLL as loaded");
    // The program's own copy, put back into the as-loaded state explicitly.
    comHandle = NULL;
    unsigned char byte = 0x55;
    EXPECT_EQ(ky_ReadByte(&byte), 0);
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(ky_WriteByte(&byte), 0);
    EXPECT_EQ(ky_ClosePort(), 0);
    EXPECT_EQ(kyCommIBClear(), 0);
}

TEST(SerialChannel, BadNamesFailAndLeaveNothingOpen)
{
    KYDLL(ky_ClosePort)();  // the DLL is loaded before handles are counted
    long handlesBefore = kytest::openHandleCount();

    EXPECT_EQ(KYDLL(ky_ComOpen)(nullptr), HANDLE(0)) << "a null name";
    expectEveryExportFails("after a null name");
    EXPECT_EQ(KYDLL(ky_ComOpen)("COM99"), HANDLE(0)) << "a port the prefix doesn't have";
    EXPECT_EQ(KYDLL(ky_ComOpen)("\\\\.\\kydoru-no-such-port"), HANDLE(0));
    EXPECT_EQ(KYDLL(ky_ComOpen)(""), HANDLE(0));
    std::string longName(70000, 'C');
    EXPECT_EQ(KYDLL(ky_ComOpen)(longName.c_str()), HANDLE(0)) << "a 70000-character name";
    std::string longPort = "COM7" + std::string(300, '7');
    EXPECT_EQ(KYDLL(ky_ComOpen)(longPort.c_str()), HANDLE(0)) << "a 304-character name";
    // After a failed open the channel is invalid: closing it too reports failure.
    expectEveryExportFails("after a failed open");

    if (handlesBefore < 0)
        GTEST_SKIP() << "this system doesn't tell the process's handle count, so leftovers can't be counted";
    EXPECT_EQ(kytest::openHandleCount(), handlesBefore) << "failed opens leave no handle behind";
}

// A real line: each test opens COM8 as the far device and closes the library's port
// after itself, so every test starts from a closed channel.
// What the library asks the system for, seen through the serial seam: Wine's pty can't
// show the share mode or hold every line field, so the requests are checked here.
struct RecordedRequests {
    DWORD shareMode = 0xFFFFFFFF, access = 0, disposition = 0;
    DCB portState = {};  // what GetCommState reports
    DCB written = {};    // what SetCommState was given
    int writes = 0;
    std::vector<std::string> calls;  // "open COM9 -> 1", "close 1", in order
    int portsHandedOut = 0;
};
RecordedRequests recorded;
HANDLE const fakePort = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x5E7));

HANDLE WINAPI recordOpen(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                         HANDLE)
{
    recorded.access = access;
    recorded.shareMode = share;
    recorded.disposition = disposition;
    if (std::string(name) == "COM99") {
        recorded.calls.push_back("open COM99 fails");
        return INVALID_HANDLE_VALUE;
    }
    // Each open hands out a handle of its own: the fake port's value plus a count.
    const int number = ++recorded.portsHandedOut;
    recorded.calls.push_back(std::string("open ") + name + " -> " + std::to_string(number));
    return reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(fakePort) + number - 1);
}
BOOL WINAPI recordClose(HANDLE handle)
{
    recorded.calls.push_back("close " + std::to_string(reinterpret_cast<INT_PTR>(handle) -
                                                       reinterpret_cast<INT_PTR>(fakePort) + 1));
    return TRUE;
}
BOOL WINAPI reportState(HANDLE, LPDCB dcb)
{
    *dcb = recorded.portState;
    return TRUE;
}
BOOL WINAPI recordState(HANDLE, LPDCB dcb)
{
    recorded.written = *dcb;
    ++recorded.writes;
    return TRUE;
}

TEST(SerialRequests, OpenIsExclusiveAndConfWritesThePortsOwnRecordBack)
{
    const SerialCalls saved = serialCalls;
    serialCalls = {recordOpen, reportState, recordState, recordClose};
    recorded = RecordedRequests();
    recorded.portState.DCBlength = sizeof(DCB);
    recorded.portState.fDtrControl = DTR_CONTROL_ENABLE;
    recorded.portState.fRtsControl = RTS_CONTROL_HANDSHAKE;
    recorded.portState.fTXContinueOnXoff = 1;
    recorded.portState.fErrorChar = 1;
    recorded.portState.XonLim = 1234;  // a field the library leaves alone

    EXPECT_EQ(ky_ComOpen("COM9"), fakePort);
    EXPECT_EQ(recorded.shareMode, 0u) << "the port is opened exclusively";
    EXPECT_EQ(recorded.access, DWORD(GENERIC_READ | GENERIC_WRITE));
    EXPECT_EQ(recorded.disposition, DWORD(OPEN_EXISTING));
    EXPECT_EQ(recorded.writes, 1) << "the open applies the default line settings";
    EXPECT_EQ(recorded.written.BaudRate, DWORD(defaultBaud));

    EXPECT_EQ(ky_ComConf(9600, 7, 3, EVENPARITY, TWOSTOPBITS), 1);
    const DCB &w = recorded.written;
    EXPECT_EQ(w.BaudRate, 9600u);
    EXPECT_EQ(w.ByteSize, 7);
    EXPECT_EQ(w.Parity, EVENPARITY);
    EXPECT_EQ(w.StopBits, TWOSTOPBITS);
    EXPECT_EQ(w.fParity, 1u) << "bit 0 of the parity check";
    EXPECT_EQ(w.fDtrControl, DWORD(DTR_CONTROL_DISABLE));
    EXPECT_EQ(w.fRtsControl, DWORD(RTS_CONTROL_DISABLE));
    EXPECT_EQ(w.fTXContinueOnXoff, 1u) << "kept from the port's own record";
    EXPECT_EQ(w.fErrorChar, 1u) << "kept from the port's own record";
    EXPECT_EQ(w.XonLim, 1234) << "the port's record is edited, not rebuilt";

    recorded.portState.fTXContinueOnXoff = 0;
    recorded.portState.fErrorChar = 0;
    EXPECT_EQ(ky_ComConf(4800, 8, 0, NOPARITY, ONESTOPBIT), 1);
    EXPECT_EQ(recorded.written.fTXContinueOnXoff, 0u);
    EXPECT_EQ(recorded.written.fErrorChar, 0u);
    EXPECT_EQ(recorded.written.fParity, 0u);

    // Rates above 65535 reach the driver whole.
    const unsigned int rates[] = {115200, 230400, 921600, 65536, 65535};
    for (unsigned int rate : rates) {
        EXPECT_EQ(ky_ComConf(rate, 8, 0, NOPARITY, ONESTOPBIT), 1);
        EXPECT_EQ(recorded.written.BaudRate, DWORD(rate)) << "the driver is asked for " << rate << " baud";
    }

    serialCalls = saved;
    comHandle = NULL;
}

// Opening while a port is open closes the open one first, and only then opens: the
// old handle is never lost, and a second open of the same port finds it free.
TEST(SerialRequests, OpenClosesTheOpenPortFirst)
{
    const SerialCalls saved = serialCalls;
    serialCalls = {recordOpen, reportState, recordState, recordClose};
    recorded = RecordedRequests();
    recorded.portState.DCBlength = sizeof(DCB);
    comHandle = NULL;

    EXPECT_EQ(ky_ComOpen("COM9"), fakePort);
    EXPECT_NE(ky_ComOpen("COM9"), HANDLE(0)) << "a second open of the same port succeeds";
    EXPECT_EQ(ky_ComOpen("COM99"), HANDLE(0)) << "a port that doesn't exist";
    EXPECT_EQ(ky_ComOpen("COM9"), reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(fakePort) + 2));
    EXPECT_EQ(ky_ComOpen(nullptr), HANDLE(0));
    EXPECT_EQ(ky_ClosePort(), 0) << "the null name's open closed the port already";
    const std::vector<std::string> expected = {"open COM9 -> 1", "close 1",          "open COM9 -> 2",
                                               "close 2",        "open COM99 fails", "open COM9 -> 3",
                                               "close 3"};
    EXPECT_EQ(recorded.calls, expected) << "each open closes the port open before it, then opens";

    serialCalls = saved;
    comHandle = NULL;
}

class SerialLine : public testing::Test {
protected:
    HANDLE farEnd = INVALID_HANDLE_VALUE;

    void SetUp() override
    {
        farEnd = CreateFileA(farPort, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (farEnd == INVALID_HANDLE_VALUE)
            GTEST_SKIP() << "no serial line: COM7 and COM8 are linked onto a socat pty pair by the "
                            "device_serial_line_start fixture of the 64-bit ctest run (error "
                         << GetLastError() << ")";
        // Bytes an earlier run left on the line (in the ptys or in socat) are read away.
        drainFarEnd();
        COMMTIMEOUTS timeouts = {0, 0, 2000, 0, 2000};
        ASSERT_TRUE(SetCommTimeouts(farEnd, &timeouts)) << "far side time-outs";
    }

    // Reads everything that reaches the far end until the line has been quiet for a while;
    // returns the count.
    int drainFarEnd()
    {
        COMMTIMEOUTS immediate = {MAXDWORD, 0, 0, 0, 0};  // return at once with whatever is there
        EXPECT_TRUE(SetCommTimeouts(farEnd, &immediate));
        static char chunk[65536];
        int received = 0;
        for (int quiet = 0; quiet < 5;) {
            DWORD count = 0;
            if (!ReadFile(farEnd, chunk, sizeof chunk, &count, NULL)) {
                ADD_FAILURE() << "reading the far end failed: " << GetLastError();
                break;
            }
            received += int(count);
            if (count) {
                quiet = 0;
            } else {
                ++quiet;
                Sleep(50);
            }
        }
        return received;
    }

    void TearDown() override
    {
        KYDLL(ky_ClosePort)();
        if (farEnd != INVALID_HANDLE_VALUE)
            CloseHandle(farEnd);
    }

    HANDLE open()
    {
        HANDLE port = KYDLL(ky_ComOpen)(nearPort);
        EXPECT_NE(port, HANDLE(0)) << "ky_ComOpen(\"COM7\") failed";
        if (port)
            PurgeComm(port, PURGE_RXCLEAR);  // nothing of an earlier run's far side
        return port;
    }

    // One byte from the far side within two seconds, or -1.
    int farRead()
    {
        unsigned char byte = 0;
        DWORD count = 0;
        if (!ReadFile(farEnd, &byte, 1, &count, NULL) || count != 1)
            return -1;
        return byte;
    }

    bool farWrite(const void *bytes, DWORD length)
    {
        DWORD count = 0;
        return WriteFile(farEnd, bytes, length, &count, NULL) && count == length;
    }
};

TEST_F(SerialLine, OpenAppliesTheDefaults)
{
    HANDLE port = open();
    ASSERT_NE(port, HANDLE(0));
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port, &dcb)) << "the returned handle is the port";
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fParity, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    COMMTIMEOUTS timeouts = {};
    ASSERT_TRUE(GetCommTimeouts(port, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 60u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 1u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 60u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 100u);
}

TEST_F(SerialLine, BytesTravelBothWays)
{
    ASSERT_NE(open(), HANDLE(0));
    const unsigned char outgoing[] = {'K', 0x00, 0xFF, '\n', 0x11, 0x13};
    for (unsigned char byte : outgoing) {
        EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 1) << "writing " << int(byte);
        EXPECT_EQ(farRead(), int(byte)) << "the byte arrives at the far end unchanged";
    }
    const unsigned char incoming[] = {'Y', 0x00, 0x80, 0x7F};
    for (unsigned char sent : incoming) {
        ASSERT_TRUE(farWrite(&sent, 1));
        unsigned char byte = 0xA5;
        // The default read gives up after 101 ms; the byte is normally there long before.
        int result = 0;
        for (int attempt = 0; attempt < 20 && result == 0; ++attempt)
            result = KYDLL(ky_ReadByte)(&byte);
        EXPECT_EQ(result, 1) << "a byte from the far end is read with result 1";
        EXPECT_EQ(byte, sent);
    }
}

TEST_F(SerialLine, ReadWithNothingPendingTimesOutAfterAbout101ms)
{
    ASSERT_NE(open(), HANDLE(0));
    unsigned char byte = 0x77;
    LARGE_INTEGER start = now();
    EXPECT_EQ(KYDLL(ky_ReadByte)(&byte), 0);
    double waited = millisecondsSince(start);
    EXPECT_EQ(byte, 0) << "a time-out leaves the caller's byte 0";
    EXPECT_GE(waited, 90.0) << "the default read time-out is 100 x 1 + 1 ms";
    EXPECT_LT(waited, 1500.0) << "the read must give up, not wait for data";

    // Longer time-outs lengthen the wait: no interval, no multiplier, 400 ms constant.
    ASSERT_EQ(KYDLL(ky_SetComTimeouts)(0, 0, 400, 60, 100), 1);
    start = now();
    EXPECT_EQ(KYDLL(ky_ReadByte)(&byte), 0);
    waited = millisecondsSince(start);
    EXPECT_GE(waited, 380.0) << "read total constant 400 ms";
    EXPECT_LT(waited, 3000.0);
}

TEST_F(SerialLine, TimeoutsAreWrittenInOrder)
{
    HANDLE port = open();
    ASSERT_NE(port, HANDLE(0));
    ASSERT_EQ(KYDLL(ky_SetComTimeouts)(11, 22, 33, 44, 55), 1);
    COMMTIMEOUTS timeouts = {};
    ASSERT_TRUE(GetCommTimeouts(port, &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 11u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 22u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 33u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 44u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 55u);
}

TEST_F(SerialLine, FailedSecondOpenClosesTheFirstPort)
{
    KYDLL(ky_ClosePort)();
    const long closed = kytest::openHandleCount();
    ASSERT_NE(open(), HANDLE(0));
    EXPECT_EQ(KYDLL(ky_ComOpen)("COM99"), HANDLE(0));
    expectEveryExportFails("after a failed second open");
    if (closed < 0)
        GTEST_SKIP() << "this system doesn't tell the process's handle count, so the closed port can't be counted";
    EXPECT_EQ(kytest::openHandleCount(), closed) << "the first port was closed, not left open and unreachable";
}

TEST_F(SerialLine, SecondOpenOfTheSamePortSucceeds)
{
    KYDLL(ky_ClosePort)();
    const long closed = kytest::openHandleCount();
    ASSERT_NE(open(), HANDLE(0));
    const long oneOpen = kytest::openHandleCount();
    HANDLE second = open();
    ASSERT_NE(second, HANDLE(0)) << "the open port is closed first, so the port is free for the second open";
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    unsigned char byte = 'S';
    EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 1);
    EXPECT_EQ(farRead(), 'S') << "the second channel carries bytes";
    EXPECT_NE(KYDLL(ky_ClosePort)(), 0);
    if (closed < 0)
        GTEST_SKIP() << "this system doesn't tell the process's handle count, so the first port can't be counted";
    EXPECT_EQ(oneOpen, closed + 1);
    EXPECT_EQ(kytest::openHandleCount(), closed) << "no port handle is left behind by the second open";
}

DCB commState(HANDLE port)
{
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    EXPECT_TRUE(GetCommState(port, &dcb));
    return dcb;
}

TEST_F(SerialLine, ConfWritesBaudAndStopBits)
{
    HANDLE port = open();
    ASSERT_NE(port, HANDLE(0));
    ASSERT_EQ(KYDLL(ky_ComConf)(9600, 8, 0, NOPARITY, TWOSTOPBITS), 1);
    DCB dcb = commState(port);
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    ASSERT_EQ(KYDLL(ky_ComConf)(4800, 8, 0, NOPARITY, ONESTOPBIT), 1);
    dcb = commState(port);
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    // Software flow control set on the port is switched off.
    dcb.fOutX = dcb.fInX = 1;
    ASSERT_TRUE(SetCommState(port, &dcb));
    ASSERT_EQ(KYDLL(ky_ComConf)(19200, 8, 0, NOPARITY, ONESTOPBIT), 1);
    dcb = commState(port);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
}

TEST_F(SerialLine, ConfSets115200Baud)
{
    HANDLE port = open();
    ASSERT_NE(port, HANDLE(0));
    ASSERT_EQ(KYDLL(ky_ComConf)(115200, 8, 0, 0, 0), 1) << "115200 is a rate every port offers";
    EXPECT_EQ(commState(port).BaudRate, 115200u) << "the port runs at 115200, not at its low 16 bits (49664)";
    ASSERT_EQ(KYDLL(ky_ComConf)(9600, 8, 0, 0, 0), 1);
    EXPECT_EQ(commState(port).BaudRate, 9600u);
}

TEST_F(SerialLine, PurgesAndQueueSizes)
{
    ASSERT_NE(open(), HANDLE(0));
    // The first argument is ignored.
    int queued = KYDLL(kySetupComm)(0, 4096, 4096);
    EXPECT_EQ(KYDLL(kySetupComm)(-1, 4096, 4096), queued);
    EXPECT_EQ(KYDLL(kySetupComm)(12345, 4096, 4096), queued);
    EXPECT_NE(queued, 0) << "SetupComm(4096, 4096) on an open port";

    // Bytes waiting in the input are discarded by the input clear.
    const char pending[] = "abc";
    ASSERT_TRUE(farWrite(pending, 3));
    Sleep(200);
    EXPECT_NE(KYDLL(kyCommIBClear)(), 0);
    unsigned char byte = 0x55;
    EXPECT_EQ(KYDLL(ky_ReadByte)(&byte), 0) << "the input buffer was cleared";
    EXPECT_EQ(byte, 0);

    EXPECT_NE(KYDLL(kyCommOBClear)(), 0);
    EXPECT_NE(KYDLL(kyCommRTerminate)(), 0);
    EXPECT_NE(KYDLL(kyCommWTerminate)(), 0);
    // The channel still works after the purges.
    byte = 'P';
    EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 1);
    EXPECT_EQ(farRead(), 'P');
}

TEST_F(SerialLine, WriteThatTimesOutIsAFailure)
{
    ASSERT_NE(open(), HANDLE(0));
    // Nobody reads the far end: the line's buffers fill until a write gives up after its
    // 160 ms time-out. Every write reported as done must have reached the far end.
    const int limit = 1 << 20;
    int accepted = 0, result = 1;
    unsigned char byte = 'w';
    LARGE_INTEGER start = now();
    while (accepted < limit && millisecondsSince(start) < 20000) {
        result = KYDLL(ky_WriteByte)(&byte);
        if (!result)
            break;
        ++accepted;
    }
    int received = drainFarEnd();
    EXPECT_EQ(received, accepted) << "bytes reported written (" << accepted << ") and bytes that arrived";
    if (result && received == accepted)
        GTEST_SKIP() << "the line took " << accepted << " bytes without a write time-out, so a write "
                     << "that gives up can't be shown";
}

TEST_F(SerialLine, ClosedPortIsForgotten)
{
    ASSERT_NE(open(), HANDLE(0));
    EXPECT_NE(KYDLL(ky_ClosePort)(), 0);
    expectEveryExportFails("after ky_ClosePort");

    // The closed handle's value is soon handed out again, here most likely for this file;
    // the channel must not write into it or close it.
    char path[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, path), 0u);
    std::string file = std::string(path) + "kydoru-serial-reuse.tmp";
    HANDLE other = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_FLAG_DELETE_ON_CLOSE, NULL);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    unsigned char byte = 'X';
    EXPECT_EQ(KYDLL(ky_WriteByte)(&byte), 0);
    EXPECT_EQ(KYDLL(ky_ClosePort)(), 0);
    EXPECT_EQ(GetFileSize(other, NULL), 0u) << "nothing was written into another object's handle";
    EXPECT_TRUE(CloseHandle(other)) << "the other object's handle is still open";
}

}  // namespace
