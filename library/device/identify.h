// The disk identity query: the miniport identify request, the scan over both IDE
// controllers, the storage descriptor that stands in where the miniport gives nothing,
// and the extraction of text fields from the drive's identify data.
#pragma once
#include <windows.h>

enum : DWORD {
    identifyBlockSize = 512,    // IDENTIFY DEVICE data: 256 little-endian words
    identifyWordCount = 256,
    identifyHeaderSize = 28,    // SRB_IO_CONTROL
    identifyInputLength = 60,   // header + SENDCMDINPARAMS less its data placeholder
    identifyBufferSize = 557,   // header + SENDCMDOUTPARAMS with its placeholder + 512 bytes
    identifyDataOffset = 44,    // header + SENDCMDOUTPARAMS up to its data
    identifyRequestCode = 0x1B0501,  // IOCTL_SCSI_MINIPORT_IDENTIFY
    identifyTextSize = 1024,
    identifyControllers = 2,
    identifyDrivesPerController = 2,
};

// Identify words of the three text fields: 20, 8 and 40 characters.
enum {
    identifySerialFirst = 10,
    identifySerialLast = 19,
    identifyFirmwareFirst = 23,
    identifyFirmwareLast = 26,
    identifyModelFirst = 27,
    identifyModelLast = 46,
    identifyModelWords = identifyModelLast - identifyModelFirst + 1,
};

// The storage device descriptor: at most this many bytes are asked for and believed,
// and its strings lie after the fixed part of descriptorStringsStart bytes.
enum : DWORD {
    descriptorCapacity = 1024,
    descriptorStringsStart = 36,
};

// Each extracted string lands here before it is copied on.
extern char identifyText[identifyTextSize];

// Zeroes `buffer` (identifyBufferSize bytes) and writes the identify request for
// `drive` (0 or 1) on its controller.
void buildIdentifyRequest(unsigned char *buffer, BYTE drive);

// The text of identify words `first` to `last`: two characters per word, high byte
// first, trailing spaces trimmed (never the first character). Returns identifyText.
const char *identifyString(const DWORD *words, int first, int last);

// Copies the field `kind` asks for (1 model, 2 serial number, 3 firmware revision) of
// the identify words into resultText; any other kind stores nothing.
void storeIdentifyField(const DWORD *words, int kind);

// Probes drives 0 and 1 of controllers 0 and 1 (every position, every call) and stores
// the field `kind` of the drive at `driveIndex` (controller x 2 + drive) in resultText,
// which is cleared first. A position whose miniport request gives no answer is asked
// for its storage descriptor instead. Returns 1 when any drive answered, else 0.
int probeIdeDrives(int driveIndex, int kind);

// Builds the 256 identify words of a drive from the first `length` bytes of its storage
// device descriptor: the model from the product (after the vendor and a space, unless
// the bus is ATA or SATA), the serial number and the revision, each cut to its field or
// padded with spaces. Offsets of 0, inside the fixed part or past `length` count as
// absent; a string ends at its terminator or at `length`. Returns false, with `words`
// untouched, when there is no product string: then the descriptor is no answer.
bool identifyFromDescriptor(const unsigned char *descriptor, DWORD length, DWORD *words);

// Reads the storage device descriptor of "\.\PhysicalDrive<position>" into `buffer`
// (descriptorCapacity bytes, zeroed first); returns the bytes it holds, 0 for none.
DWORD readPhysicalDriveDescriptor(int position, unsigned char *buffer);

// Where the scan gets identify data: the controllers' miniport and the drives' storage
// descriptors on Windows; tests put canned blocks and descriptors in their place.
struct IdentifySource {
    // The controller's port device, or INVALID_HANDLE_VALUE when it can't be opened.
    HANDLE (*openController)(int controller);
    // Sends the request in `buffer` (identifyBufferSize bytes) and leaves the reply there.
    BOOL (*sendRequest)(HANDLE controller, unsigned char *buffer);
    void (*closeController)(HANDLE controller);
    // The descriptor of drive `position` (controller x 2 + drive) in `buffer`
    // (descriptorCapacity bytes); returns the bytes it holds, 0 when there is none.
    DWORD (*readDescriptor)(int position, unsigned char *buffer);
};
extern const IdentifySource miniportIdentifySource;
extern IdentifySource identifySource;
