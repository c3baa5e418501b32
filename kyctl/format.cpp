// Everything kyctl prints on stdout, as text for people and as JSON for scripts, made
// from plain records: the platform layer gathers the values, these functions decide the
// bytes (lines end in LF; the output adds the CR of Windows text). JSON is always valid UTF-8.
#include <string.h>

#include "cli.h"
#include "utf8.h"

namespace kyctl {

void jsonString(Text *out, const char *text, size_t length)
{
    textAdd(out, "\"", 1);
    for (size_t i = 0; i < length;) {
        unsigned long point = 0;
        size_t n = utf8Decode(text + i, length - i, &point);
        char escaped[2];
        if (n == 0) {
            textPut(out, "\\ufffd");
            ++i;
            continue;
        }
        if (point == '"' || point == '\\') {
            escaped[0] = '\\';
            escaped[1] = static_cast<char>(point);
            textAdd(out, escaped, 2);
        } else if (point < 0x20 || point == 0x7F) {
            textPut(out, "\\u00");
            textAdd(out, &"0123456789abcdef"[point >> 4], 1);
            textAdd(out, &"0123456789abcdef"[point & 15], 1);
        } else {
            textAdd(out, text + i, n);
        }
        i += n;
    }
    textAdd(out, "\"", 1);
}

void hexText(Text *out, const unsigned char *bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const char pair[3] = {' ', "0123456789abcdef"[bytes[i] >> 4], "0123456789abcdef"[bytes[i] & 15]};
        textAdd(out, i ? pair : pair + 1, i ? 3 : 2);
    }
}

namespace {

void jsonField(Text *out, const char *name, const char *text, bool last)
{
    textFormat(out, "\"%s\":", name);
    if (text)
        jsonString(out, text, strlen(text));
    else
        textPut(out, "null");
    if (!last)
        textPut(out, ",");
}

}  // namespace

void formatVersion(Text *out, bool json, const char *version)
{
    if (json) {
        textPut(out, "{");
        jsonField(out, "version", version, true);
        textPut(out, "}\n");
    } else {
        textFormat(out, "kyctl %s\n", version);
    }
}

void formatMode(Text *out, bool json, const ModeRecord &mode)
{
    if (json)
        textFormat(out, "{\"width\":%d,\"height\":%d,\"bitsPerPixel\":%d,\"refreshRate\":%d}\n", mode.width,
                   mode.height, mode.bitsPerPixel, mode.refreshRate);
    else if (mode.refreshRate <= 1)  // 0 and 1 stand for the adapter's default rate
        textFormat(out, "%dx%d, %d bits per pixel, default refresh rate\n", mode.width, mode.height,
                   mode.bitsPerPixel);
    else
        textFormat(out, "%dx%d, %d bits per pixel, %d Hz\n", mode.width, mode.height, mode.bitsPerPixel,
                   mode.refreshRate);
}

void formatModeCheck(Text *out, bool json, int code)
{
    if (json)
        textFormat(out, "{\"mode\":\"1024x768x32\",\"accepted\":%s,\"code\":%d}\n", code == 0 ? "true" : "false",
                   code);
    else
        textPut(out, code == 0 ? "1024x768x32 accepted\n" : "1024x768x32 refused\n");
}

void formatLockState(Text *out, bool json, bool capsLock, bool on)
{
    if (json)
        textFormat(out, "{\"%s\":%s}\n", capsLock ? "capsLock" : "numLock", on ? "true" : "false");
    else
        textPut(out, on ? "on\n" : "off\n");
}

void formatCpu(Text *out, bool json, unsigned int mhz)
{
    textFormat(out, json ? "{\"mhz\":%u}\n" : "%u MHz\n", mhz);
}

void formatDisks(Text *out, bool json, const DiskRecord *disks, int count)
{
    if (json)
        textPut(out, "[");
    for (int i = 0; i < count; ++i) {
        const DiskRecord &disk = disks[i];
        if (json) {
            textFormat(out, "%s{\"index\":%d,", i ? "," : "", disk.index);
            jsonField(out, "model", disk.model, false);
            jsonField(out, "serial", disk.serial, false);
            jsonField(out, "revision", disk.revision, true);
            textPut(out, "}");
        } else {
            textFormat(out, "disk %d\n  model     %s\n  serial    %s\n  revision  %s\n", disk.index, disk.model,
                       disk.serial, disk.revision);
        }
    }
    if (json)
        textPut(out, "]\n");
}

void formatSysdir(Text *out, bool json, const char *path)
{
    if (json) {
        textPut(out, "{");
        jsonField(out, "path", path, true);
        textPut(out, "}\n");
    } else {
        textFormat(out, "%s\n", path);
    }
}

void formatSerial(Text *out, SerialShow show, const char *port, int sent, const unsigned char *bytes, size_t count)
{
    if (show == serialText) {
        textAdd(out, reinterpret_cast<const char *>(bytes), count);
    } else if (show == serialHex) {
        hexText(out, bytes, count);
        if (count)
            textPut(out, "\n");
    } else {
        textFormat(out, "{\"port\":\"%s\",\"sent\":%d,\"receivedHex\":\"", port, sent);
        hexText(out, bytes, count);
        textPut(out, "\"}\n");
    }
}

void formatWindow(Text *out, bool json, const WindowRecord &window)
{
    if (json) {
        textFormat(out, "{\"handle\":\"0x%llX\",", window.handle);
        jsonField(out, "title", window.title, false);
        jsonField(out, "class", window.className, false);
        textFormat(out, "\"pid\":%lu,", window.pid);
        jsonField(out, "exe", window.exe, true);
        textPut(out, "}\n");
    } else {
        textFormat(out, "0x%llX %s \"%s\"\n", window.handle, window.exe ? window.exe : "?", window.title);
    }
}

}  // namespace kyctl
