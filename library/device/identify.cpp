// Disk identity as plain data work: the identify request record, the byte swap and trim
// of identify text, and the scan's choice of drive. The platform calls sit behind
// identifySource (device/miniport.cpp), so all of this runs against canned identify data.
#include "device/identify.h"

#include <ntddscsi.h>
#include <stddef.h>
#include <string.h>

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

int probeIdeDrives(int driveIndex, int kind)
{
    memset(resultText, 0, resultTextSize);
    int anyAnswered = 0;
    unsigned char buffer[identifyBufferSize];
    unsigned char descriptor[descriptorCapacity];
    DWORD words[identifyWordCount];
    for (int controller = 0; controller < int(identifyControllers); ++controller) {
        const int firstPosition = controller * int(identifyDrivesPerController);
        bool answered[identifyDrivesPerController] = {};
        HANDLE device = identifySource.openController(controller);
        if (device != INVALID_HANDLE_VALUE) {
            for (int drive = 0; drive < int(identifyDrivesPerController); ++drive) {
                buildIdentifyRequest(buffer, static_cast<BYTE>(drive));
                if (!driveAnswered(identifySource.sendRequest(device, buffer), buffer))
                    continue;
                const unsigned char *data = buffer + identifyDataOffset;
                for (int word = 0; word < int(identifyWordCount); ++word)
                    words[word] = data[2 * word] | (DWORD(data[2 * word + 1]) << 8);
                if (firstPosition + drive == driveIndex)
                    storeIdentifyField(words, kind);
                answered[drive] = true;
                anyAnswered = 1;
            }
            identifySource.closeController(device);
        }
        // The miniport stays first; its silent positions ask the drive's descriptor,
        // once the controller is closed again.
        for (int drive = 0; drive < int(identifyDrivesPerController); ++drive) {
            if (answered[drive])
                continue;
            const DWORD length = identifySource.readDescriptor(firstPosition + drive, descriptor);
            if (!identifyFromDescriptor(descriptor, length, words))
                continue;
            if (firstPosition + drive == driveIndex)
                storeIdentifyField(words, kind);
            anyAnswered = 1;
        }
    }
    return anyAnswered;
}
