// Disk identity: the miniport request byte by byte, the identify text rules, the
// storage descriptor read from literal bytes, and the scan over both controllers
// against canned identify blocks and descriptors in place of the system (Wine has no
// disk miniport); the DLL itself is checked for its no-disk answers.
#include "kytest.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "device/identify.h"
#include "frame/state.h"
#include "handles.h"

#include <winioctl.h>

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

// ---- identify words from a storage device descriptor ------------------------------

void putLE32(std::vector<unsigned char> &bytes, size_t at, DWORD value)
{
    if (bytes.size() < at + 4)
        bytes.resize(at + 4);
    putLE(bytes.data(), at, value, 4);
}

// A descriptor of `length` bytes as a driver returns it: Version 40, Size, the bus type
// at 28, and each string's offset at its field (12 vendor, 16 product, 20 revision, 24
// serial number). Strings are written as given: a "\0" in them is their terminator.
struct Descriptor {
    std::vector<unsigned char> bytes;
    Descriptor(size_t length, DWORD bus) : bytes(length, 0)
    {
        putLE32(bytes, 0, 40);
        putLE32(bytes, 4, DWORD(length));
        putLE32(bytes, 28, bus);
        bytes.resize(length);
    }
    Descriptor &text(size_t field, DWORD offset, const std::string &characters)
    {
        putLE32(bytes, field, offset);
        for (size_t i = 0; i < characters.size() && offset + i < bytes.size(); ++i)
            bytes[offset + i] = static_cast<unsigned char>(characters[i]);
        return *this;
    }
    Descriptor &offset(size_t field, DWORD value)
    {
        putLE32(bytes, field, value);
        return *this;
    }
};
enum : size_t { vendorField = 12, productField = 16, revisionField = 20, serialField = 24 };
enum : DWORD { busScsi = 1, busAta = 3, busUsb = 7, busSata = 0xB, busNvme = 0x11 };
const std::string nul(1, '\0');

// Wine's answer for \\.\PhysicalDrive0, byte for byte: a 40-byte descriptor whose string
// offsets are all 0.
const unsigned char wineDescriptor[40] = {
    0x28, 0, 0, 0, 0x28, 0, 0, 0,  // Version, Size
    0, 0, 0, 0,                    // device type, modifier, removable, queueing
    0, 0, 0, 0, 0, 0, 0, 0,        // vendor, product
    0, 0, 0, 0, 0, 0, 0, 0,        // revision, serial number
    0, 0, 0, 0, 0, 0, 0, 0,        // bus type, raw properties length
    0, 0, 0, 0,
};

// An NVMe disk's descriptor, byte for byte: vendor "NVMe" at 40, the product at 45, the
// revision at 74 and an NVMe serial number (groups of four digits, a closing dot) at 83.
std::vector<unsigned char> nvmeDescriptor()
{
    const unsigned char header[40] = {
        0x28, 0, 0, 0, 0x70, 0, 0, 0,  // Version 40, Size 112
        0, 0, 0, 1,                    // disk, no modifier, fixed, command queueing
        0x28, 0, 0, 0, 0x2D, 0, 0, 0,  // vendor at 40, product at 45
        0x4A, 0, 0, 0, 0x53, 0, 0, 0,  // revision at 74, serial number at 83
        0x11, 0, 0, 0, 0, 0, 0, 0,     // BusTypeNvme, no raw properties
        0, 0, 0, 0,
    };
    std::vector<unsigned char> bytes(header, header + sizeof header);
    for (const char *text : {"NVMe", "Samsung SSD 970 EVO Plus 1TB", "2B2QEXM7", "0025_3881_0123_4567."})
        bytes.insert(bytes.end(), text, text + strlen(text) + 1);
    bytes.resize(112, 0);
    return bytes;
}

struct DescriptorCase {
    const char *what;
    std::vector<unsigned char> bytes;
    const char *model, *serial, *firmware;  // null model: no answer
};

std::vector<DescriptorCase> descriptorCases()
{
    const std::string longProduct = "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";
    return {
        {"SATA disk: the product is the model, with no vendor",
         Descriptor(120, busSata)
             .text(productField, 40, "Samsung SSD 860 EVO 500GB" + nul)
             .text(revisionField, 66, "RVT04B6Q" + nul)
             .text(serialField, 75, "S3Z2NB0K123456X" + nul)
             .bytes,
         "Samsung SSD 860 EVO 500GB", "S3Z2NB0K123456X", "RVT04B6Q"},
        {"ATA disk: a vendor string is not put before the model",
         Descriptor(100, busAta)
             .text(vendorField, 40, "ATA     " + nul)
             .text(productField, 49, "WDC WD10EZEX-08WN4A0" + nul)
             .text(revisionField, 70, "01.01A01" + nul)
             .text(serialField, 79, "WD-WCC6Y1234567" + nul)
             .bytes,
         "WDC WD10EZEX-08WN4A0", "WD-WCC6Y1234567", "01.01A01"},
        {"SATA disk behind a SAS or RAID controller: a SCSI bus, but the vendor \"ATA\" is dropped",
         Descriptor(100, busScsi)
             .text(vendorField, 40, "ATA     " + nul)
             .text(productField, 49, "ST4000NM0035-1V4" + nul)
             .text(revisionField, 66, "TN03" + nul)
             .bytes,
         "ST4000NM0035-1V4", " ", "TN03"},
        {"USB stick: vendor, a space and the product; padding spaces go",
         Descriptor(100, busUsb)
             .text(vendorField, 40, "SanDisk " + nul)
             .text(productField, 49, "Cruzer Blade    " + nul)
             .text(revisionField, 66, "1.00" + nul)
             .text(serialField, 71, "4C530001230521117" + nul)
             .bytes,
         "SanDisk Cruzer Blade", "4C530001230521117", "1.00"},
        {"NVMe disk without a vendor string: the product alone",
         Descriptor(100, busNvme)
             .text(productField, 40, "KXG60ZNV512G TOSHIBA" + nul)
             .text(serialField, 61, "9ECS10ABCDEF" + nul)
             .bytes,
         "KXG60ZNV512G TOSHIBA", "9ECS10ABCDEF", " "},
        {"strings longer than their fields are cut to 40, 20 and 8 characters",
         Descriptor(200, busSata)
             .text(productField, 40, longProduct + nul)
             .text(serialField, 100, "0025_3881_0123_4567_89AB_CDEF." + nul)
             .text(revisionField, 140, "REVISION-TOO-LONG" + nul)
             .bytes,
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklm", "0025_3881_0123_4567_", "REVISION"},
        {"serial numbers keep leading and inner spaces and dots",
         Descriptor(90, busScsi)
             .text(productField, 40, "Virtual Disk" + nul)
             .text(serialField, 60, "  0025 3881.0123 45" + nul)
             .bytes,
         "Virtual Disk", "  0025 3881.0123 45", " "},
        {"a product without a terminator ends with the returned bytes",
         Descriptor(48, busSata).text(productField, 40, "ST1000DM").offset(serialField, 48).bytes, "ST1000DM", " ",
         " "},
        {"offsets past the returned bytes or inside the fixed part are absent",
         Descriptor(80, busSata)
             .text(productField, 40, "HGST HTS721010A9" + nul)
             .offset(serialField, 0x2000)
             .offset(revisionField, 8)
             .offset(vendorField, 0xFFFFFFFF)
             .bytes,
         "HGST HTS721010A9", " ", " "},
        {"control characters become spaces",
         Descriptor(80, busSata).text(productField, 40, "Disk\tOne\x01\x1F" + nul).bytes, "Disk One", " ", " "},
        {"Wine's 40-byte descriptor with every offset 0", {wineDescriptor, wineDescriptor + 40}, nullptr, nullptr, nullptr},
        {"no product offset", Descriptor(80, busSata).text(serialField, 40, "SERIAL" + nul).bytes, nullptr, nullptr, nullptr},
        {"product offset past the returned bytes", Descriptor(80, busSata).offset(productField, 80).bytes, nullptr, nullptr, nullptr},
        {"product offset inside the fixed part", Descriptor(80, busSata).offset(productField, 12).bytes, nullptr, nullptr, nullptr},
        {"empty product", Descriptor(80, busUsb).text(vendorField, 40, "Generic" + nul).offset(productField, 48).bytes,
         nullptr, nullptr, nullptr},
        {"product of spaces only", Descriptor(80, busSata).text(productField, 40, "        " + nul).bytes, nullptr, nullptr, nullptr},
        {"fewer bytes than the fixed part", Descriptor(30, busSata).offset(productField, 20).bytes, nullptr, nullptr, nullptr},
        {"no bytes at all", {}, nullptr, nullptr, nullptr},
    };
}

TEST(IdentifyFromDescriptor, FieldsFromLiteralDescriptors)
{
    for (const DescriptorCase &c : descriptorCases()) {
        SCOPED_TRACE(c.what);
        std::vector<DWORD> words(identifyWordCount, 0xAAAA);
        // The parser is given exactly the returned bytes, nothing beyond them.
        std::vector<unsigned char> bytes = c.bytes;
        const bool answered = identifyFromDescriptor(bytes.data(), DWORD(bytes.size()), words.data());
        if (!c.model) {
            EXPECT_FALSE(answered) << "no product string: no answer";
            EXPECT_EQ(words, std::vector<DWORD>(identifyWordCount, 0xAAAA)) << "the words are left alone";
            continue;
        }
        ASSERT_TRUE(answered);
        EXPECT_STREQ(identifyString(words.data(), 27, 46), c.model);
        EXPECT_STREQ(identifyString(words.data(), 10, 19), c.serial);
        EXPECT_STREQ(identifyString(words.data(), 23, 26), c.firmware);
        EXPECT_NE(words[27] >> 8, 0u) << "identify byte 54, the scan's test for a drive, is not zero";
    }
}

TEST(IdentifyFromDescriptor, WordsAreLaidOutAsADriveSendsThem)
{
    std::vector<unsigned char> bytes = nvmeDescriptor();
    ASSERT_EQ(bytes.size(), 112u);
    std::vector<DWORD> words(identifyWordCount, 0xAAAA);
    ASSERT_TRUE(identifyFromDescriptor(bytes.data(), DWORD(bytes.size()), words.data()));
    EXPECT_EQ(words[27], DWORD('N' << 8 | 'V')) << "first character of a pair in the high byte";
    EXPECT_EQ(words[28], DWORD('M' << 8 | 'e'));
    EXPECT_EQ(words[29], DWORD(' ' << 8 | 'S')) << "vendor, one space, product";
    EXPECT_EQ(words[42], DWORD('1' << 8 | 'T'));
    EXPECT_EQ(words[43], DWORD('B' << 8 | ' ')) << "the model is padded with spaces to 40 characters";
    EXPECT_EQ(words[44], 0x2020u);
    EXPECT_EQ(words[46], 0x2020u);
    EXPECT_EQ(words[10], DWORD('0' << 8 | '0'));
    EXPECT_EQ(words[19], DWORD('7' << 8 | '.')) << "a 20-character serial number fills its field";
    EXPECT_EQ(words[23], DWORD('2' << 8 | 'B'));
    EXPECT_EQ(words[26], DWORD('M' << 8 | '7'));
    for (int word : {0, 9, 20, 22, 47, 255})
        EXPECT_EQ(words[word], 0u) << "word " << word << " holds no field and is zero";

    // The same bytes cut short: the returned count bounds every string.
    EXPECT_TRUE(identifyFromDescriptor(bytes.data(), 60, words.data()));
    EXPECT_STREQ(identifyString(words.data(), 27, 46), "NVMe Samsung SSD 970") << "the product ends at byte 60";
    EXPECT_STREQ(identifyString(words.data(), 10, 19), " ") << "the serial number lies past byte 60";
    EXPECT_FALSE(identifyFromDescriptor(bytes.data(), 45, words.data())) << "the product starts at byte 45";
}

// ---- the scan, with canned identify blocks behind the seam --------------------------

struct CannedDrive {
    bool present = false;
    bool sendFails = false;
    bool leaveBufferAlone = false;   // "succeeds" without writing a reply
    unsigned char block[identifyBlockSize] = {};
    // Disk number N's descriptor query (the miniport's place N has no bearing on it).
    std::vector<unsigned char> descriptor;
    SCSI_ADDRESS address = {};  // Length 0: the driver gives none
};

SCSI_ADDRESS scsiAddress(UCHAR port, UCHAR path, UCHAR target, UCHAR lun = 0)
{
    return {sizeof(SCSI_ADDRESS), port, path, target, lun};
}

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

DWORD cannedDescriptor(int disk, unsigned char *buffer, SCSI_ADDRESS *address)
{
    canned->calls.push_back("descriptor " + std::to_string(disk));
    memset(buffer, 0, descriptorCapacity);
    memset(address, 0, sizeof *address);
    if (disk < 0 || disk > 3)
        return 0;
    *address = canned->drives[disk].address;
    const std::vector<unsigned char> &bytes = canned->drives[disk].descriptor;
    const size_t length = std::min<size_t>(bytes.size(), descriptorCapacity);
    if (length)
        memcpy(buffer, bytes.data(), length);
    return DWORD(length);
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
        identifySource = {cannedOpen, cannedSend, cannedClose, cannedDescriptor};
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
const std::vector<std::string> everyDescriptor = {"descriptor 0", "descriptor 1", "descriptor 2", "descriptor 3"};

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
    std::vector<std::string> secondOnly = {"open 0", "open 1", "send 1/0", "send 1/1", "close 1"};
    secondOnly.insert(secondOnly.end(), everyDescriptor.begin(), everyDescriptor.end());
    EXPECT_EQ(disks.calls, secondOnly) << "places left free: every disk's descriptor is asked";
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

TEST_F(DiskScan, DescriptorsStandInWhereTheMiniportGivesNothing)
{
    disks.drives[1].present = false;
    disks.drives[3].present = false;
    // Disk 0 is the miniport's drive 0 on controller 0, seen again through its descriptor.
    disks.drives[0].descriptor = Descriptor(80, busAta).text(productField, 40, "DESCRIBED-A0" + nul).bytes;
    disks.drives[0].address = scsiAddress(0, 0, 0);
    disks.drives[1].descriptor = nvmeDescriptor();
    disks.drives[1].address = scsiAddress(2, 0, 0);  // a port the miniport never asks
    disks.drives[2].descriptor.assign(wineDescriptor, wineDescriptor + sizeof wineDescriptor);
    disks.drives[3].descriptor = Descriptor(64, busUsb).text(productField, 40, "Flash Disk" + nul).bytes;
    disks.calls.clear();
    EXPECT_EQ(ask(1, 1, 1), "NVMe Samsung SSD 970 EVO Plus 1TB") << "the first place left free";
    std::vector<std::string> expected = everyPosition;
    expected.insert(expected.end(), everyDescriptor.begin(), everyDescriptor.end());
    EXPECT_EQ(disks.calls, expected) << "every disk's descriptor, once the controllers are closed";
    EXPECT_EQ(ask(1, 2, 1), "0025_3881_0123_4567.");
    EXPECT_EQ(ask(1, 3, 1), "2B2QEXM7");
    EXPECT_EQ(ask(0, 1, 1), "MODEL-A0") << "where the miniport answers, its text is used";
    EXPECT_EQ(ask(2, 1, 1), "MODEL-B0");
    EXPECT_EQ(ask(3, 1, 1), "Flash Disk") << "no vendor string, so no leading space; no address, the next free place";

    // No controller at all (an ordinary user): every disk comes from its descriptor, and
    // one with an address keeps the place the miniport would give it.
    disks.controllerPresent[0] = disks.controllerPresent[1] = false;
    disks.drives[0].address = scsiAddress(1, 0, 1);
    EXPECT_EQ(ask(3, 1, 1), "DESCRIBED-A0") << "an IDE disk at port 1, target 1: drive 1 of the second controller";
    EXPECT_EQ(ask(0, 1, 1), "NVMe Samsung SSD 970 EVO Plus 1TB");
    EXPECT_EQ(ask(1, 1, 1), "Flash Disk");
    EXPECT_EQ(ask(2, 1, 0), std::string(63, '#')) << "a descriptor without a product is no answer";
    EXPECT_EQ(ask(2, 2, 0), "");
    for (CannedDrive &drive : disks.drives)
        drive.descriptor.clear();
    EXPECT_EQ(probeIdeDrives(0, 1), 0) << "nothing answered";
}

// A machine with both: an IDE disk that the miniport answers as drive 0 of controller 0
// is also disk 1, and an NVMe disk is disk 0. Each answers at one index only.
TEST_F(DiskScan, AMachineWithBothNumbersEachDiskOnce)
{
    for (int place = 1; place < 4; ++place)
        disks.drives[place].present = false;
    disks.drives[0].descriptor = nvmeDescriptor();
    disks.drives[0].address = scsiAddress(3, 0, 0);
    disks.drives[1].descriptor = Descriptor(80, busAta).text(productField, 40, "MODEL-A0" + nul).bytes;
    disks.drives[1].address = scsiAddress(0, 0, 0);
    EXPECT_EQ(ask(0, 1, 1), "MODEL-A0");
    EXPECT_EQ(ask(1, 1, 1), "NVMe Samsung SSD 970 EVO Plus 1TB") << "disk 0 takes the first free place";
    EXPECT_EQ(ask(2, 1, 0), std::string(63, '#')) << "the IDE disk is not found a second time";
    EXPECT_EQ(ask(3, 1, 0), std::string(63, '#'));
}

TEST(DiskPlaces, AddressesAndFreePlaces)
{
    struct {
        SCSI_ADDRESS address;
        int place;
    } const addresses[] = {
        {scsiAddress(0, 0, 0), 0},  {scsiAddress(0, 0, 1), 1},    {scsiAddress(1, 0, 0), 2},
        {scsiAddress(1, 0, 1), 3},  {scsiAddress(2, 0, 0), -1},   {scsiAddress(0, 1, 0), -1},
        {scsiAddress(0, 0, 2), -1}, {scsiAddress(0, 0, 0, 1), -1}, {{0, 0, 0, 0, 0}, -1},
    };
    for (const auto &a : addresses)
        EXPECT_EQ(addressPlace(a.address), a.place)
            << "port " << int(a.address.PortNumber) << ", path " << int(a.address.PathId) << ", target "
            << int(a.address.TargetId) << ", lun " << int(a.address.Lun) << ", length " << a.address.Length;

    const bool T = true, F = false;
    struct {
        const char *what;
        DescriptorDisk disks[4];  // answered, the place its address names, on an IDE bus
        bool held[4];             // places the miniport answered
        int places[4];
    } const cases[] = {
        {"no miniport, no IDE disk: disk numbers, even with addresses",
         {{T, -1, F}, {T, 0, F}, {T, 2, F}, {T, -1, F}}, {F, F, F, F}, {0, 1, 2, 3}},
        {"a disk at the miniport's drive is not placed again, whatever its bus",
         {{T, -1, F}, {T, 0, F}, {F, -1, F}, {F, -1, F}}, {T, F, F, F}, {1, -1, -1, -1}},
        {"IDE disks at their places first, then free places by disk number",
         {{T, -1, F}, {T, 0, T}, {T, 3, T}, {T, -1, F}}, {F, F, F, F}, {1, 0, 3, 2}},
        {"free places around the miniport's", {{T, 2, T}, {T, -1, F}, {T, -1, F}, {T, -1, F}}, {F, F, T, F},
         {-1, 0, 1, 3}},
        {"no place left", {{T, -1, F}, {T, 1, T}, {F, -1, F}, {F, -1, F}}, {T, T, T, T}, {-1, -1, -1, -1}},
        {"a silent disk takes nothing, not even its place", {{F, 0, T}, {T, -1, F}, {F, -1, F}, {F, -1, F}},
         {F, F, F, F}, {-1, 0, -1, -1}},
    };
    for (const auto &c : cases) {
        int places[4] = {9, 9, 9, 9};
        placeDisks(c.disks, 4, c.held, places);
        for (int disk = 0; disk < 4; ++disk)
            EXPECT_EQ(places[disk], c.places[disk]) << c.what << ": disk " << disk;
    }
}

// The DLL on this machine: Wine has no disk miniport, and its \\.\PhysicalDrive0
// descriptor names no product, so no drive answers.
TEST(DiskIdentity, WithoutAMiniportNothingIsFound)
{
    if (!kytest::storageQuerySurvives())
        GTEST_SKIP() << "the emulated 32-bit Wine hangs in the storage query beside the case clock's thread; "
                        "disk32 makes these calls in that run";
    HANDLE controller = CreateFileA("\\\\.\\Scsi0:", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    NULL, OPEN_EXISTING, 0, NULL);
    if (controller != INVALID_HANDLE_VALUE) {
        CloseHandle(controller);
        GTEST_SKIP() << "this machine has a SCSI port device; the no-disk answers can't be shown";
    }
    // The machine's own descriptor of the first disk, asked here without the library.
    HANDLE drive = CreateFileA("\\\\.\\PhysicalDrive0", 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                               0, NULL);
    if (drive != INVALID_HANDLE_VALUE) {
        STORAGE_PROPERTY_QUERY query = {StorageDeviceProperty, PropertyStandardQuery, {0}};
        unsigned char reply[512] = {};
        DWORD returned = 0;
        const BOOL asked = DeviceIoControl(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, reply,
                                           sizeof reply, &returned, NULL);
        CloseHandle(drive);
        DWORD product = 0;
        if (asked && returned >= 20)
            memcpy(&product, reply + 16, sizeof product);
        if (product != 0)
            GTEST_SKIP() << "this machine's first disk names its product, so the no-disk answers can't be shown";
    }
    char buffer[41];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(KYDLL(kyHDid)(0, 3, buffer), 0);  // the DLL is loaded before handles are counted
    const long handlesBefore = kytest::openHandleCount();
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(KYDLL(kyHDid)(0, 1, buffer), 0);
    EXPECT_EQ(buffer[0], '#') << "kind 1 with nothing found leaves the buffer alone";
    EXPECT_EQ(KYDLL(kyHDid)(0, 2, buffer), 0);
    EXPECT_EQ(buffer[0], 0) << "kind 2 with nothing found writes an empty string";
    EXPECT_EQ(buffer[1], '#') << "only the terminator is written";
    for (int index = 0; index < 4; ++index)
        for (int kind = 1; kind <= 3; ++kind)
            EXPECT_EQ(KYDLL(kyHDid)(index, kind, buffer), 0) << "drive index " << index << ", kind " << kind;
    if (handlesBefore < 0)
        GTEST_SKIP() << "this system doesn't tell the process's handle count, so leftovers can't be counted";
    EXPECT_EQ(kytest::openHandleCount(), handlesBefore) << "no controller or drive handle is left open";
}

}  // namespace
