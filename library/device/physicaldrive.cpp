// The second source of identify data: the storage device descriptor of
// "\\.\PhysicalDriveN", which every disk driver answers (AHCI, NVMe, USB) and which an
// ordinary user may ask for, since the drive is opened without access rights; and the
// disk's SCSI address, which tells where the miniport would number it.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>
#include <stdio.h>
#include <string.h>

#include "device/identify.h"

DWORD readPhysicalDriveDescriptor(int disk, unsigned char *buffer, SCSI_ADDRESS *address)
{
    memset(buffer, 0, descriptorCapacity);
    memset(address, 0, sizeof *address);
    if (disk < 0)
        return 0;
    char name[32];
    snprintf(name, sizeof name, "\\\\.\\PhysicalDrive%d", disk);
    HANDLE drive = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (drive == INVALID_HANDLE_VALUE)
        return 0;

    STORAGE_PROPERTY_QUERY query;
    memset(&query, 0, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DESCRIPTOR_HEADER header;
    memset(&header, 0, sizeof header);
    DWORD returned = 0, held = 0;
    // First the header for the size, then the whole descriptor. The size is the
    // driver's word: never more than the buffer, never less than the fixed part.
    if (DeviceIoControl(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &header, sizeof header,
                        &returned, NULL) &&
        returned >= sizeof header) {
        DWORD size = header.Size;
        if (size > descriptorCapacity)
            size = descriptorCapacity;
        if (size < sizeof(STORAGE_DEVICE_DESCRIPTOR))
            size = sizeof(STORAGE_DEVICE_DESCRIPTOR);
        returned = 0;
        if (DeviceIoControl(drive, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, buffer, size, &returned,
                            NULL))
            held = returned < size ? returned : size;
    }
    // The address is believed only when the driver filled the whole record.
    SCSI_ADDRESS found;
    memset(&found, 0, sizeof found);
    returned = 0;
    if (DeviceIoControl(drive, IOCTL_SCSI_GET_ADDRESS, NULL, 0, &found, sizeof found, &returned, NULL) &&
        returned >= sizeof found && found.Length >= sizeof found)
        *address = found;
    CloseHandle(drive);
    return held;
}
