// The disk identity query: the miniport identify request, the scan over both IDE
// controllers and the extraction of text fields from the drive's identify data.
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
// which is cleared first. Returns 1 when any drive answered, else 0.
int probeIdeDrives(int driveIndex, int kind);

// Where the scan gets identify data: the controllers' miniport on Windows; tests put
// canned blocks in its place.
struct IdentifySource {
    // The controller's port device, or INVALID_HANDLE_VALUE when it can't be opened.
    HANDLE (*openController)(int controller);
    // Sends the request in `buffer` (identifyBufferSize bytes) and leaves the reply there.
    BOOL (*sendRequest)(HANDLE controller, unsigned char *buffer);
    void (*closeController)(HANDLE controller);
};
extern const IdentifySource miniportIdentifySource;
extern IdentifySource identifySource;
