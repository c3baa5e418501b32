// kyHDid: the identity text of an IDE disk, copied out of resultText to the caller.
#include <string.h>

#include "exports.h"
#include "device/identify.h"
#include "frame/state.h"

// The longest field (the model number) is 40 characters; callers give 41 bytes.
static const size_t callerBufferSize = 41;

extern "C" int KYCALL kyHDid(int driveIndex, int kind, char *buffer)
{
    probeIdeDrives(driveIndex, kind);
    if (resultText[0]) {
        size_t length = strnlen(resultText, callerBufferSize - 1);
        memcpy(buffer, resultText, length);
        buffer[length] = 0;
        return 1;
    }
    // Nothing found: for a text kind the caller's buffer is emptied; kind 1 or less
    // leaves it as it was.
    if (kind >= 2)
        buffer[0] = 0;
    return 0;
}
