// Disk identity as plain data work: the identify request record, the byte swap and trim
// of identify text, and the scan's choice of drive. The platform calls sit behind
// identifySource (device/miniport.cpp), so all of this runs against canned identify data.
#include "device/identify.h"

#include <ntddscsi.h>
#include <stddef.h>
#include <string.h>
#include <winioctl.h>

#include "frame/state.h"

static_assert(sizeof(SRB_IO_CONTROL) == identifyHeaderSize, "SRB_IO_CONTROL is 28 bytes");
static_assert(sizeof(SENDCMDINPARAMS) == 33, "SENDCMDINPARAMS is 33 bytes, byte-packed");
static_assert(sizeof(SENDCMDOUTPARAMS) == 17, "SENDCMDOUTPARAMS is 17 bytes, byte-packed");
static_assert(identifyInputLength == identifyHeaderSize + sizeof(SENDCMDINPARAMS) - 1, "input length");
static_assert(identifyBufferSize == identifyHeaderSize + sizeof(SENDCMDOUTPARAMS) + identifyBlockSize,
              "buffer size");
static_assert(identifyDataOffset == identifyHeaderSize + offsetof(SENDCMDOUTPARAMS, bBuffer), "data offset");

char identifyText[identifyTextSize];


void buildIdentifyRequest(unsigned char *buffer, BYTE drive)
{
    memset(buffer, 0, identifyBufferSize);

    SRB_IO_CONTROL header;
    memset(&header, 0, sizeof header);
    header.HeaderLength = sizeof header;
    memcpy(header.Signature, "SCSIDISK", sizeof header.Signature);
    header.Timeout = 10000;
    header.ControlCode = identifyRequestCode;
    header.ReturnCode = 0;
    header.Length = sizeof(SENDCMDOUTPARAMS) + identifyBlockSize;
    memcpy(buffer, &header, sizeof header);

    SENDCMDINPARAMS command;
    memset(&command, 0, sizeof command);
    command.cBufferSize = 0;
    command.irDriveRegs.bCommandReg = ID_CMD;
    command.bDriveNumber = drive;
    // The 1-byte data placeholder is not sent; the buffer holds zero there.
    memcpy(buffer + sizeof header, &command, offsetof(SENDCMDINPARAMS, bBuffer));
}

const char *identifyString(const DWORD *words, int first, int last)
{
    int length = 0;
    for (int word = first; word <= last && length + 2 < int(identifyTextSize); ++word) {
        identifyText[length++] = static_cast<char>(words[word] >> 8);
        identifyText[length++] = static_cast<char>(words[word]);
    }
    identifyText[length] = 0;
    for (int at = length - 1; at > 0 && identifyText[at] == ' '; --at)
        identifyText[at] = 0;
    return identifyText;
}

void storeIdentifyField(const DWORD *words, int kind)
{
    const char *text;
    switch (kind) {
    case 1: text = identifyString(words, identifyModelFirst, identifyModelLast); break;
    case 2: text = identifyString(words, identifySerialFirst, identifySerialLast); break;
    case 3: text = identifyString(words, identifyFirmwareFirst, identifyFirmwareLast); break;
    default: return;
    }
    // Fields are at most 40 characters, far inside the 1024-byte result.
    strcpy(resultText, text);
}

// The drive answered when the request went through and its model field starts with a
// non-zero byte.
static bool driveAnswered(BOOL sent, const unsigned char *buffer)
{
    return sent && buffer[identifyDataOffset + 2 * identifyModelFirst] != 0;
}

int addressPlace(const SCSI_ADDRESS &address)
{
    if (address.Length == 0 || address.PathId != 0 || address.Lun != 0)
        return -1;
    if (address.PortNumber >= identifyControllers || address.TargetId >= identifyDrivesPerController)
        return -1;
    return address.PortNumber * int(identifyDrivesPerController) + address.TargetId;
}

void placeDisks(const DescriptorDisk *disks, int count, const bool *heldByMiniport, int *place)
{
    bool taken[diskPlaces];
    for (int at = 0; at < diskPlaces; ++at)
        taken[at] = heldByMiniport[at];
    bool placeNamed[diskPlaces];  // per disk: the miniport's drive, or an IDE disk at home
    for (int disk = 0; disk < count; ++disk) {
        place[disk] = -1;
        const int at = disks[disk].addressPlace;
        placeNamed[disk] = disks[disk].answered && at >= 0 && at < diskPlaces &&
                           (heldByMiniport[at] || disks[disk].ide);
        if (placeNamed[disk] && !heldByMiniport[at]) {
            place[disk] = at;
            taken[at] = true;
        }
    }
    for (int disk = 0; disk < count; ++disk) {
        if (!disks[disk].answered || placeNamed[disk])
            continue;
        for (int at = 0; at < diskPlaces; ++at) {
            if (!taken[at]) {
                place[disk] = at;
                taken[at] = true;
                break;
            }
        }
    }
}

int probeIdeDrives(int driveIndex, int kind)
{
    memset(resultText, 0, resultTextSize);
    int anyAnswered = 0;
    bool heldByMiniport[diskPlaces] = {};
    int held = 0;
    unsigned char buffer[identifyBufferSize];
    DWORD words[identifyWordCount];
    for (int controller = 0; controller < int(identifyControllers); ++controller) {
        HANDLE device = identifySource.openController(controller);
        if (device == INVALID_HANDLE_VALUE)
            continue;
        for (int drive = 0; drive < int(identifyDrivesPerController); ++drive) {
            buildIdentifyRequest(buffer, static_cast<BYTE>(drive));
            if (!driveAnswered(identifySource.sendRequest(device, buffer), buffer))
                continue;
            const unsigned char *data = buffer + identifyDataOffset;
            for (int word = 0; word < int(identifyWordCount); ++word)
                words[word] = data[2 * word] | (DWORD(data[2 * word + 1]) << 8);
            const int place = controller * int(identifyDrivesPerController) + drive;
            if (place == driveIndex)
                storeIdentifyField(words, kind);
            heldByMiniport[place] = true;
            ++held;
            anyAnswered = 1;
        }
        identifySource.closeController(device);
    }
    if (held == diskPlaces)
        return anyAnswered;

    // The places the miniport left free go to the disks that answer with their
    // descriptor, each asked once the controllers are closed again.
    unsigned char descriptor[descriptorCapacity];
    DWORD diskWords[diskPlaces][identifyWordCount];
    DescriptorDisk disks[diskPlaces];
    for (int disk = 0; disk < diskPlaces; ++disk) {
        SCSI_ADDRESS address;
        const DWORD length = identifySource.readDescriptor(disk, descriptor, &address);
        disks[disk].answered = identifyFromDescriptor(descriptor, length, diskWords[disk]);
        disks[disk].addressPlace = addressPlace(address);
        disks[disk].ide = descriptorBusType(descriptor, length) == BusTypeAta;
    }
    int place[diskPlaces];
    placeDisks(disks, diskPlaces, heldByMiniport, place);
    for (int disk = 0; disk < diskPlaces; ++disk) {
        if (place[disk] < 0)
            continue;
        if (place[disk] == driveIndex)
            storeIdentifyField(diskWords[disk], kind);
        anyAnswered = 1;
    }
    return anyAnswered;
}
