// Disk identity: the miniport request byte by byte, the identify text rules, and the
// scan over both controllers against canned identify blocks in place of the miniport
// (Wine has no disk miniport); the DLL itself is checked for its no-disk answers.
#include "kytest.h"

#include <cstring>
#include <string>
#include <vector>

#include "device/identify.h"
#include "frame/state.h"

namespace {

void putLE(unsigned char *bytes, size_t at, unsigned value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

TEST(IdentifyRequest, LaidOutFieldByField)
{
    for (BYTE drive = 0; drive < 2; ++drive) {
        unsigned char buffer[identifyBufferSize];
        memset(buffer, 0xCC, sizeof buffer);
        buildIdentifyRequest(buffer, drive);
        unsigned char expected[identifyBufferSize] = {};
        putLE(expected, 0, 28, 4);                 // HeaderLength
        memcpy(expected + 4, "SCSIDISK", 8);       // Signature, no terminator
        putLE(expected, 12, 10000, 4);             // Timeout
        putLE(expected, 16, 0x1B0501, 4);          // IOCTL_SCSI_MINIPORT_IDENTIFY
        putLE(expected, 24, 529, 4);               // Length: 17-byte reply record + 512
        expected[38] = 0xEC;                       // IDENTIFY DEVICE
        expected[40] = drive;                      // bDriveNumber
        for (size_t i = 0; i < identifyBufferSize; ++i)
            EXPECT_EQ(buffer[i], expected[i]) << "byte " << i << " of the request for drive " << int(drive);
    }
    EXPECT_EQ(identifyInputLength, 60u);
    EXPECT_EQ(identifyBufferSize, 557u);
}

// Identify words with `text` laid into words first.. in the drive's order: the first
// character of each pair in the high byte.
void putText(std::vector<DWORD> &words, int first, const std::string &text)
{
    for (size_t i = 0; i < text.size(); i += 2) {
        DWORD high = static_cast<unsigned char>(text[i]);
        DWORD low = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        words[first + i / 2] = (high << 8) | low;
    }
}

TEST(IdentifyText, ByteSwapAndTrailingSpaceTrim)
{
    std::vector<DWORD> words(identifyWordCount, 0);
    words[27] = 0x5354;
    EXPECT_STREQ(identifyString(words.data(), 27, 27), "ST") << "high byte first";

    putText(words, 27, "ST380011A" + std::string(31, ' '));
    EXPECT_STREQ(identifyString(words.data(), 27, 46), "ST380011A");

    putText(words, 10, "      WD12ABCD      ");
    EXPECT_STREQ(identifyString(words.data(), 10, 19), "      WD12ABCD") << "leading spaces stay";

    putText(words, 23, std::string(8, ' '));
    EXPECT_STREQ(identifyString(words.data(), 23, 26), " ") << "the first character is never trimmed";

    words[23] = ('1' << 8) | '.';
    words[24] = ('0' << 8) | 0;  // a zero byte inside the field
    words[25] = ('x' << 8) | 'y';
    words[26] = ('z' << 8) | ' ';
    EXPECT_STREQ(identifyString(words.data(), 23, 26), "1.0") << "a zero byte ends the text";

    // Only bits 0 to 15 of the widened words count.
    words[30] = 0xFFFF4142;
    EXPECT_STREQ(identifyString(words.data(), 30, 30), "AB");
}

TEST(IdentifyText, FieldsAndTheirLengths)
{
    std::vector<DWORD> words(identifyWordCount, 0);
    putText(words, 10, "SERIAL-NUMBER-OF-20C");
    putText(words, 23, "FIRMWARE");
    putText(words, 27, "MODEL-NUMBER-WITH-EXACTLY-FORTY-CHARS-XY");
    memset(resultText, 'z', resultTextSize);
    storeIdentifyField(words.data(), 1);
    EXPECT_STREQ(resultText, "MODEL-NUMBER-WITH-EXACTLY-FORTY-CHARS-XY");
    storeIdentifyField(words.data(), 2);
    EXPECT_STREQ(resultText, "SERIAL-NUMBER-OF-20C");
    storeIdentifyField(words.data(), 3);
    EXPECT_STREQ(resultText, "FIRMWARE");
    EXPECT_EQ(resultText[9], 'M') << "the copy stops after the terminator: the serial number's 10th character stays";
    strcpy(resultText, "kept");
    storeIdentifyField(words.data(), 0);
    storeIdentifyField(words.data(), 4);
    storeIdentifyField(words.data(), -1);
    EXPECT_STREQ(resultText, "kept") << "other kinds store nothing";
}

// ---- the scan, with canned identify blocks behind the seam --------------------------

struct CannedDrive {
    bool present = false;
    bool sendFails = false;
    bool leaveBufferAlone = false;   // "succeeds" without writing a reply
    unsigned char block[identifyBlockSize] = {};
};

struct CannedDisks {
    bool controllerPresent[2] = {true, true};
    CannedDrive drives[4];
    std::vector<std::string> calls;  // "open 0", "send 0/1", "close 0"
    std::vector<std::vector<unsigned char>> requests;
};

CannedDisks *canned;

HANDLE cannedOpen(int controller)
{
    canned->calls.push_back("open " + std::to_string(controller));
    if (!canned->controllerPresent[controller])
        return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x100 + controller));
}

BOOL cannedSend(HANDLE device, unsigned char *buffer)
{
    int controller = static_cast<int>(reinterpret_cast<INT_PTR>(device) - 0x100);
    int drive = buffer[40];
    canned->calls.push_back("send " + std::to_string(controller) + "/" + std::to_string(drive));
    canned->requests.emplace_back(buffer, buffer + identifyBufferSize);
    CannedDrive &disk = canned->drives[controller * 2 + drive];
    if (disk.sendFails) {
        memcpy(buffer + identifyDataOffset, disk.block, identifyBlockSize);
        return FALSE;
    }
    if (disk.leaveBufferAlone)
        return TRUE;
    if (disk.present)
        memcpy(buffer + identifyDataOffset, disk.block, identifyBlockSize);
    return disk.present;
}

void cannedClose(HANDLE device)
{
    canned->calls.push_back("close " + std::to_string(reinterpret_cast<INT_PTR>(device) - 0x100));
}

// A drive's identify block with its three fields, in the drive's byte order.
void fillDrive(CannedDrive &drive, const std::string &model, const std::string &serial, const std::string &firmware)
{
    std::vector<DWORD> words(identifyWordCount, 0x2020);
    putText(words, 27, model + std::string(40 - model.size(), ' '));
    putText(words, 10, serial + std::string(20 - serial.size(), ' '));
    putText(words, 23, firmware + std::string(8 - firmware.size(), ' '));
    for (size_t i = 0; i < identifyWordCount; ++i) {
        drive.block[2 * i] = static_cast<unsigned char>(words[i]);
        drive.block[2 * i + 1] = static_cast<unsigned char>(words[i] >> 8);
    }
    drive.present = true;
}

class DiskScan : public testing::Test {
protected:
    CannedDisks disks;
    void SetUp() override
    {
        canned = &disks;
        identifySource = {cannedOpen, cannedSend, cannedClose};
        fillDrive(disks.drives[0], "MODEL-A0", "SER-A0", "FW-A0");
        fillDrive(disks.drives[1], "MODEL-A1", "SER-A1", "FW-A1");
        fillDrive(disks.drives[2], "MODEL-B0", "SER-B0", "FW-B0");
        fillDrive(disks.drives[3], "MODEL-B1", "SER-B1", "FW-B1");
    }
    void TearDown() override
    {
        identifySource = miniportIdentifySource;
        canned = nullptr;
    }
    std::string ask(int index, int kind, int expectedResult)
    {
        char buffer[64];
        memset(buffer, '#', sizeof buffer);
        buffer[sizeof buffer - 1] = 0;
        EXPECT_EQ(kyHDid(index, kind, buffer) != 0, expectedResult != 0)
            << "drive index " << index << ", kind " << kind;
        return buffer;
    }
};

const std::vector<std::string> everyPosition = {"open 0", "send 0/0", "send 0/1", "close 0",
                                                "open 1", "send 1/0", "send 1/1", "close 1"};

TEST_F(DiskScan, EachIndexPicksItsOwnDriveAndEveryPositionIsProbed)
{
    const char *models[] = {"MODEL-A0", "MODEL-A1", "MODEL-B0", "MODEL-B1"};
    for (int index = 0; index < 4; ++index) {
        disks.calls.clear();
        EXPECT_EQ(ask(index, 1, 1), models[index]);
        EXPECT_EQ(disks.calls, everyPosition) << "all four positions, also after the wanted drive answered";
    }
    EXPECT_EQ(ask(2, 2, 1), "SER-B0") << "index 2 is drive 0 of the second controller";
    EXPECT_EQ(ask(3, 3, 1), "FW-B1");
    disks.calls.clear();
    EXPECT_EQ(ask(4, 1, 0), std::string(63, '#')) << "index 4 never matches";
    EXPECT_EQ(disks.calls, everyPosition);
    EXPECT_EQ(ask(-1, 2, 0), "") << "a negative index never matches";
}

TEST_F(DiskScan, EveryRequestIsAFreshIdentifyRequest)
{
    EXPECT_EQ(probeIdeDrives(1, 1), 1);
    ASSERT_EQ(disks.requests.size(), 4u);
    for (size_t i = 0; i < disks.requests.size(); ++i) {
        unsigned char expected[identifyBufferSize];
        buildIdentifyRequest(expected, static_cast<BYTE>(i % 2));
        EXPECT_EQ(memcmp(disks.requests[i].data(), expected, identifyBufferSize), 0)
            << "request " << i << " is the zeroed identify request for drive " << i % 2;
    }
    EXPECT_STREQ(resultText, "MODEL-A1") << "two drives on controller 0, index 1: the second one's text";
}

TEST_F(DiskScan, DrivesThatDoNotAnswer)
{
    disks.drives[0].block[54] = 0;  // first byte in memory of the model field
    disks.drives[1].sendFails = true;
    disks.drives[2].leaveBufferAlone = true;  // must not inherit drive 1's reply
    EXPECT_EQ(ask(0, 1, 0), std::string(63, '#')) << "a zero at identify byte 54 means no drive";
    EXPECT_EQ(ask(1, 2, 0), "") << "a failed request means no drive, whatever its buffer holds";
    EXPECT_EQ(ask(2, 1, 0), std::string(63, '#')) << "each request starts from a zeroed buffer";
    EXPECT_EQ(ask(3, 1, 1), "MODEL-B1");
    EXPECT_EQ(probeIdeDrives(0, 1), 1) << "drive 3 answered";
    disks.drives[3].present = false;
    EXPECT_EQ(probeIdeDrives(0, 1), 0) << "no drive answered";
}

TEST_F(DiskScan, MissingControllerIsSkippedAndClosedOnesAreNotClosedTwice)
{
    disks.controllerPresent[0] = false;
    disks.calls.clear();
    EXPECT_EQ(ask(2, 1, 1), "MODEL-B0");
    const std::vector<std::string> secondOnly = {"open 0", "open 1", "send 1/0", "send 1/1", "close 1"};
    EXPECT_EQ(disks.calls, secondOnly);
    EXPECT_EQ(ask(0, 3, 0), "");
    disks.controllerPresent[1] = false;
    EXPECT_EQ(probeIdeDrives(2, 1), 0);
}

TEST_F(DiskScan, KindRulesForTheCallersBuffer)
{
    EXPECT_EQ(ask(0, 0, 0), std::string(63, '#')) << "kind 0: buffer untouched";
    EXPECT_EQ(ask(0, -3, 0), std::string(63, '#')) << "negative kind: buffer untouched";
    EXPECT_EQ(ask(0, 5, 0), "") << "kind 5: empty string";
    EXPECT_EQ(ask(0, 4, 0), "");
    // Kind 1 with no answer leaves the buffer alone; kinds 2 and 3 empty it.
    for (CannedDrive &drive : disks.drives)
        drive.present = false;
    EXPECT_EQ(ask(0, 1, 0), std::string(63, '#'));
    EXPECT_EQ(ask(0, 2, 0), "");
    EXPECT_EQ(ask(0, 3, 0), "");
}

TEST_F(DiskScan, TextsAreAtMostTheirFieldLengthAndTheBufferGetsAtMost41Bytes)
{
    fillDrive(disks.drives[0], std::string(40, 'M'), std::string(20, 'S'), std::string(8, 'F'));
    EXPECT_EQ(ask(0, 1, 1), std::string(40, 'M'));
    EXPECT_EQ(ask(0, 2, 1), std::string(20, 'S'));
    EXPECT_EQ(ask(0, 3, 1), std::string(8, 'F'));

    char buffer[64];
    memset(buffer, '#', sizeof buffer);
    EXPECT_NE(kyHDid(0, 1, buffer), 0);
    EXPECT_EQ(std::string(buffer), std::string(40, 'M'));
    EXPECT_EQ(buffer[41], '#') << "nothing after the 41st byte of the caller's buffer is written";
}

// The DLL on this machine: Wine has no disk miniport, so no drive answers.
TEST(DiskIdentity, WithoutAMiniportNothingIsFound)
{
    HANDLE controller = CreateFileA("\\\\.\\Scsi0:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    NULL, OPEN_EXISTING, 0, NULL);
    if (controller != INVALID_HANDLE_VALUE) {
        CloseHandle(controller);
        GTEST_SKIP() << "this machine has a SCSI port device; the no-disk answers can't be shown";
    }
    char buffer[41];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(KYDLL(kyHDid)(0, 1, buffer), 0);
    EXPECT_EQ(buffer[0], '#') << "kind 1 with nothing found leaves the buffer alone";
    EXPECT_EQ(KYDLL(kyHDid)(0, 2, buffer), 0);
    EXPECT_EQ(buffer[0], 0) << "kind 2 with nothing found writes an empty string";
    EXPECT_EQ(buffer[1], '#') << "only the terminator is written";
}

}  // namespace
