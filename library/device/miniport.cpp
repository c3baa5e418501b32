// The identify data's platform source: each IDE controller's port device ("\\.\Scsi0:",
// "\\.\Scsi1:") answering IOCTL_SCSI_MINIPORT with the drive's IDENTIFY DEVICE block.
#include <windows.h>
#include <ntddscsi.h>
#include <stdio.h>

#include "device/identify.h"

static HANDLE openMiniportController(int controller)
{
    char name[16];
    snprintf(name, sizeof name, "\\\\.\\Scsi%d:", controller);
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, 0, NULL);
}

static BOOL sendMiniportRequest(HANDLE controller, unsigned char *buffer)
{
    DWORD returned = 0;
    return DeviceIoControl(controller, IOCTL_SCSI_MINIPORT, buffer, identifyInputLength, buffer,
                           identifyBufferSize, &returned, NULL);
}

static void closeMiniportController(HANDLE controller)
{
    CloseHandle(controller);
}

const IdentifySource miniportIdentifySource = {openMiniportController, sendMiniportRequest,
                                               closeMiniportController, readPhysicalDriveDescriptor};
IdentifySource identifySource = miniportIdentifySource;
