// The disk identity query: the miniport identify request, the scan over both IDE
// controllers, the storage descriptor that stands in where the miniport gives nothing,
// and the extraction of text fields from the drive's identify data.
#pragma once
#include <windows.h>
#include <ntddscsi.h>

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

// Probes drives 0 and 1 of controllers 0 and 1 through the miniport, then (unless all
// four places answered there) the storage descriptors of disks 0 to 3, every one on
// every call, and stores the field `kind` of the disk at place `driveIndex` in
// resultText, which is cleared first. Places are numbered once for both sources (see
// placeDisks). Returns 1 when any disk answered, else 0.
int probeIdeDrives(int driveIndex, int kind);

// Disk places: controller x 2 + drive, as the miniport numbers its drives.
constexpr int diskPlaces = int(identifyControllers * identifyDrivesPerController);

// The place a disk's SCSI address names: port N is the miniport's controller N
// ("\\.\ScsiN:") and, on path 0 and LUN 0, target 0 or 1 its drive. -1 for any other
// address, and for one the driver didn't give (Length 0).
int addressPlace(const SCSI_ADDRESS &address);

// A disk seen through its storage descriptor: whether it answered (named a product),
// the place its address names (addressPlace) and whether it sits on an IDE (ATA) bus.
struct DescriptorDisk {
    bool answered;
    int addressPlace;
    bool ide;
};

// Gives each of `count` disks (in the order of their disk numbers) its place, or -1, in
// place[]. A disk whose address names a place the miniport answered (heldByMiniport,
// diskPlaces entries) is that same drive and takes nothing more. An IDE disk takes the
// place its address names, as the miniport would number it. Every other disk that
// answered takes the lowest place still free once those are taken, in disk-number
// order; when none is left, it has no place. So each disk answers at one place only.
void placeDisks(const DescriptorDisk *disks, int count, const bool *heldByMiniport, int *place);

// The bus type of a storage device descriptor of `length` bytes (BusTypeUnknown when
// it is too short to say).
DWORD descriptorBusType(const unsigned char *descriptor, DWORD length);

// Builds the 256 identify words of a drive from the first `length` bytes of its storage
// device descriptor: the model from the product (after the vendor and a space, unless
// the bus is ATA or SATA), the serial number and the revision, each cut to its field or
// padded with spaces. Offsets of 0, inside the fixed part or past `length` count as
// absent; a string ends at its terminator or at `length`. Returns false, with `words`
// untouched, when there is no product string: then the descriptor is no answer.
bool identifyFromDescriptor(const unsigned char *descriptor, DWORD length, DWORD *words);

// Reads the storage device descriptor of "\.\PhysicalDrive<disk>" into `buffer`
// (descriptorCapacity bytes, zeroed first) and the disk's SCSI address into `address`
// (zeroed first: Length 0 when the driver gives none); returns the descriptor's bytes,
// 0 for none.
DWORD readPhysicalDriveDescriptor(int disk, unsigned char *buffer, SCSI_ADDRESS *address);

// Where the scan gets identify data: the controllers' miniport and the drives' storage
// descriptors on Windows; tests put canned blocks and descriptors in their place.
struct IdentifySource {
    // The controller's port device, or INVALID_HANDLE_VALUE when it can't be opened.
    HANDLE (*openController)(int controller);
    // Sends the request in `buffer` (identifyBufferSize bytes) and leaves the reply there.
    BOOL (*sendRequest)(HANDLE controller, unsigned char *buffer);
    void (*closeController)(HANDLE controller);
    // The descriptor of disk number `disk` in `buffer` (descriptorCapacity bytes) and
    // its SCSI address; returns the descriptor's bytes, 0 when there is none.
    DWORD (*readDescriptor)(int disk, unsigned char *buffer, SCSI_ADDRESS *address);
};
extern const IdentifySource miniportIdentifySource;
extern IdentifySource identifySource;
