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

// A report of one text: {"key":"value"} in JSON, else the text line `line` formats.
void formatOneText(Text *out, bool json, const char *key, const char *line, const char *value)
{
    if (json) {
        textPut(out, "{");
        jsonField(out, key, value, true);
        textPut(out, "}\n");
    } else {
        textFormat(out, line, value);
    }
}

}  // namespace

void formatVersion(Text *out, bool json, const char *version)
{
    formatOneText(out, json, "version", "kyctl %s\n", version);
}

namespace {

// A mode as one JSON object or one line of text, without the line end.
void putMode(Text *out, bool json, const ModeRecord &mode)
{
    if (json && mode.sizeOnly)
        textFormat(out, "{\"width\":%d,\"height\":%d,\"bitsPerPixel\":null,\"refreshRate\":null}", mode.width,
                   mode.height);
    else if (json)
        textFormat(out, "{\"width\":%d,\"height\":%d,\"bitsPerPixel\":%d,\"refreshRate\":%d}", mode.width,
                   mode.height, mode.bitsPerPixel, mode.refreshRate);
    else if (mode.sizeOnly)
        textFormat(out, "%dx%d, colour depth and refresh rate unknown", mode.width, mode.height);
    else if (mode.refreshRate <= 1)  // 0 and 1 stand for the adapter's default rate
        textFormat(out, "%dx%d, %d bits per pixel, default refresh rate", mode.width, mode.height,
                   mode.bitsPerPixel);
    else
        textFormat(out, "%dx%d, %d bits per pixel, %d Hz", mode.width, mode.height, mode.bitsPerPixel,
                   mode.refreshRate);
}

void putArea(Text *out, bool json, const Area &a)
{
    textFormat(out, json ? "{\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d}" : "(%d,%d)-(%d,%d)", a.left, a.top,
               a.right, a.bottom);
}

}  // namespace

void formatMode(Text *out, bool json, const ModeRecord &mode)
{
    putMode(out, json, mode);
    textPut(out, "\n");
}

void numberMonitors(MonitorRecord *monitors, int count)
{
    int first = 0;
    while (first < count && !monitors[first].primary)
        ++first;
    if (first < count) {
        MonitorRecord primary = monitors[first];
        for (int k = first; k > 0; --k)
            monitors[k] = monitors[k - 1];
        monitors[0] = primary;
    }
    for (int i = 0; i < count; ++i)
        monitors[i].index = i + 1;
}

void formatMonitors(Text *out, bool json, const MonitorRecord *monitors, int count)
{
    if (json)
        textPut(out, "[");
    for (int i = 0; i < count; ++i) {
        const MonitorRecord &m = monitors[i];
        if (json) {
            textFormat(out, "%s{\"index\":%d,", i ? "," : "", m.index);
            jsonField(out, "device", m.device, false);
            textFormat(out, "\"primary\":%s,\"rectangle\":", m.primary ? "true" : "false");
            putArea(out, true, m.area);
            textPut(out, ",\"workArea\":");
            putArea(out, true, m.workArea);
            textPut(out, ",\"mode\":");
            putMode(out, true, m.mode);
            if (m.dpi > 0)
                textFormat(out, ",\"dpi\":%d}", m.dpi);
            else
                textPut(out, ",\"dpi\":null}");
            continue;
        }
        textFormat(out, "monitor %d%s\n  device     %s\n  rectangle  ", m.index, m.primary ? " (primary)" : "",
                   m.device);
        putArea(out, false, m.area);
        textPut(out, "\n  work area  ");
        putArea(out, false, m.workArea);
        textPut(out, "\n  mode       ");
        putMode(out, false, m.mode);
        if (m.dpi > 0)
            textFormat(out, "\n  dpi        %d\n", m.dpi);
        else
            textPut(out, "\n  dpi        unknown\n");
    }
    if (json)
        textPut(out, "]\n");
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
    formatOneText(out, json, "path", "%s\n", path);
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
