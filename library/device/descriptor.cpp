// Identify words from a storage device descriptor, for disks that don't answer the
// miniport request (SATA behind AHCI, NVMe, USB, or an ordinary user without rights to
// the controller). The descriptor comes from the device, so nothing in it is trusted:
// every offset is checked against the bytes actually returned, and strings may run to
// the end of those bytes without a terminator.
#include "device/identify.h"

#include <stddef.h>
#include <string.h>
#include <winioctl.h>

static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, VendorIdOffset) == 12, "descriptor layout");
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset) == 16, "descriptor layout");
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductRevisionOffset) == 20, "descriptor layout");
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, SerialNumberOffset) == 24, "descriptor layout");
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) == 28, "descriptor layout");
static_assert(offsetof(STORAGE_DEVICE_DESCRIPTOR, RawDeviceProperties) == descriptorStringsStart,
              "strings follow the fixed part");

// A string of the descriptor: where it starts and how long it is, or empty when absent.
struct DescriptorText {
    const unsigned char *bytes;
    size_t length;
};

static DWORD readDword(const unsigned char *at)
{
    return at[0] | (DWORD(at[1]) << 8) | (DWORD(at[2]) << 16) | (DWORD(at[3]) << 24);
}

// The string whose offset is stored at `field`. An offset of 0 means absent; one inside
// the fixed part or at or past the end of the returned bytes is not believed either.
static DescriptorText descriptorText(const unsigned char *descriptor, DWORD length, size_t field)
{
    DescriptorText text = {descriptor, 0};
    const DWORD offset = readDword(descriptor + field);
    if (offset < descriptorStringsStart || offset >= length)
        return text;
    text.bytes = descriptor + offset;
    while (offset + text.length < length && text.bytes[text.length] != 0)
        ++text.length;
    return text;
}

static DescriptorText withoutTrailingSpaces(DescriptorText text)
{
    while (text.length > 0 && text.bytes[text.length - 1] == ' ')
        --text.length;
    return text;
}

// Appends `text` to `field`, a fixed run of `size` characters, as far as it fits.
static void appendText(char *field, size_t size, size_t *used, DescriptorText text)
{
    for (size_t i = 0; i < text.length && *used < size; ++i) {
        const unsigned char c = text.bytes[i];
        // Control characters would reach the caller's text; a drive pads with spaces.
        field[(*used)++] = c < 0x20 || c == 0x7F ? ' ' : static_cast<char>(c);
    }
}

// Lays `characters` (padded with spaces to the field's size, as a drive pads them) into
// identify words first..last, the first character of each pair in the high byte.
static void putField(DWORD *words, int first, int last, const char *characters, size_t count)
{
    for (int word = first; word <= last; ++word) {
        const size_t at = 2 * size_t(word - first);
        const unsigned char high = at < count ? characters[at] : ' ';
        const unsigned char low = at + 1 < count ? characters[at + 1] : ' ';
        words[word] = (DWORD(high) << 8) | low;
    }
}

static void putText(DWORD *words, int first, int last, DescriptorText text)
{
    char field[2 * identifyModelWords];
    size_t used = 0;
    appendText(field, 2 * size_t(last - first + 1), &used, text);
    putField(words, first, last, field, used);
}

DWORD descriptorBusType(const unsigned char *descriptor, DWORD length)
{
    const size_t field = offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType);
    return length >= field + 4 ? readDword(descriptor + field) : DWORD(BusTypeUnknown);
}

bool identifyFromDescriptor(const unsigned char *descriptor, DWORD length, DWORD *words)
{
    if (length > descriptorCapacity)
        length = descriptorCapacity;
    if (length < descriptorStringsStart)
        return false;
    const DescriptorText product =
        withoutTrailingSpaces(descriptorText(descriptor, length, offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductIdOffset)));
    // Without a product there is no model, and a drive without a model is no drive.
    if (product.length == 0)
        return false;

    memset(words, 0, identifyWordCount * sizeof *words);
    char model[2 * identifyModelWords];
    size_t used = 0;
    // On an ATA bus the product is the whole model number; elsewhere (SCSI, USB, NVMe)
    // the vendor comes first, as "SanDisk Cruzer Blade". An ATA disk behind a SAS or RAID
    // controller reports a SCSI bus and the vendor "ATA", which is no maker's name.
    const DWORD bus = descriptorBusType(descriptor, length);
    const DescriptorText vendor =
        withoutTrailingSpaces(descriptorText(descriptor, length, offsetof(STORAGE_DEVICE_DESCRIPTOR, VendorIdOffset)));
    const bool ataVendor = vendor.length == 3 && memcmp(vendor.bytes, "ATA", 3) == 0;
    if (bus != BusTypeAta && bus != BusTypeSata && !ataVendor) {
        appendText(model, sizeof model, &used, vendor);
        if (used > 0 && used < sizeof model)
            model[used++] = ' ';
    }
    appendText(model, sizeof model, &used, product);
    putField(words, identifyModelFirst, identifyModelLast, model, used);
    putText(words, identifySerialFirst, identifySerialLast,
            descriptorText(descriptor, length, offsetof(STORAGE_DEVICE_DESCRIPTOR, SerialNumberOffset)));
    putText(words, identifyFirmwareFirst, identifyFirmwareLast,
            descriptorText(descriptor, length, offsetof(STORAGE_DEVICE_DESCRIPTOR, ProductRevisionOffset)));
    return true;
}
