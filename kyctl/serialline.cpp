// `serial`: one open, configure, write, read, close per call. The read has one time
// limit for all of it, and stops at the first line error instead of spinning on reads
// that the port's abort-on-error makes fail at once.
#include "platform.h"

namespace kyctl {

namespace {

// What ClearCommError says of the line, in a user's words; the system's text of the
// read's error when the port can't tell.
void describeLineError(HANDLE port, DWORD readError, Text *out)
{
    static const struct {
        DWORD bit;
        const char *name;
    } lineErrors[] = {
        {CE_FRAME, "a framing error (is --baud right?)"}, {CE_RXPARITY, "a parity error (is --parity right?)"},
        {CE_OVERRUN, "an overrun (characters lost)"},    {CE_RXOVER, "the input buffer overflowed"},
        {CE_BREAK, "a break on the line"},
    };
    DWORD errors = 0;
    COMSTAT status;
    if (ClearCommError(port, &errors, &status) && errors) {
        bool first = true;
        for (const auto &e : lineErrors)
            if (errors & e.bit) {
                textFormat(out, "%s%s", first ? "" : ", ", e.name);
                first = false;
            }
        if (!first)
            return;
    }
    systemErrorText(readError, out);
}

}  // namespace

int runSerial(const Request &r, const KydoruExports &ky)
{
    char device[24];
    Text deviceText = textOver(device, sizeof device);
    textFormat(&deviceText, "\\\\.\\%s", r.port);
    DWORD error = 0;
    HANDLE port = clearedCall(&error, [&] { return ky.ky_ComOpen(device); });
    if (!port) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            say("serial: there is no port %s", r.port);
            return exitUsage;
        }
        return failed(EXPORT_NAME(ky_ComOpen), error, "%s could not be opened", r.port);
    }
    static unsigned char received[maxReadBytes];
    int got = 0, code = exitDone;
    char lineErrorText[512] = "";
    if (!clearedCall(&error, [&] {
            return ky.ky_ComConf(static_cast<unsigned>(r.baud), r.bits, r.parity != 0, r.parity, r.stopBits);
        })) {
        code = failed(EXPORT_NAME(ky_ComConf), error, "%s refused %d baud, %d bits, parity %d, stop bits %d", r.port,
                      r.baud, r.bits, r.parity, r.stopBits);
    }
    for (int i = 0; code == exitDone && i < r.sendLength; ++i) {
        if (!clearedCall(&error, [&] { return ky.ky_WriteByte(&r.send[i]); })) {
            code = failed(EXPORT_NAME(ky_WriteByte), error, "byte %d of %d was not sent", i + 1, r.sendLength);
        }
    }
    DWORD start = GetTickCount();
    while (code == exitDone && got < r.readCount) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= static_cast<DWORD>(r.timeoutMs))
            break;
        // One byte's wait is what is left of the whole read's time (never 0: all-zero
        // read time-outs would wait for ever).
        ky.ky_SetComTimeouts(0, 0, static_cast<DWORD>(r.timeoutMs) - elapsed, 60, 100);
        unsigned char byte = 0;
        if (clearedCall(&error, [&] { return ky.ky_ReadByte(&byte); })) {
            received[got++] = byte;
            continue;
        }
        if (error == 0)
            break;  // nothing came in all the time left: the read's time is up
        Text why = textOver(lineErrorText, sizeof lineErrorText);
        describeLineError(port, error, &why);
        code = exitFailed;
    }
    ky.ky_ClosePort();
    if (code != exitDone && !lineErrorText[0])
        return code;

    static char buffer[maxReadBytes * 3 + 256];
    Text out = textOver(buffer, sizeof buffer);
    SerialShow show = r.json ? serialJson : r.hex ? serialHex : serialText;
    formatSerial(&out, show, r.port, r.sendLength, received, static_cast<size_t>(got));
    if (show == serialText)
        writeBinary(STD_OUTPUT_HANDLE, reinterpret_cast<const unsigned char *>(out.data), out.used);
    else
        writeText(STD_OUTPUT_HANDLE, out);
    if (lineErrorText[0]) {
        return failed(EXPORT_NAME(ky_ReadByte), 0, "the read stopped at a line error after %d of %d bytes: %s", got,
                      r.readCount, lineErrorText);
    }
    if (got < r.readCount) {
        return failed(EXPORT_NAME(ky_ReadByte), 0, "%d of %d bytes arrived within %d ms", got, r.readCount,
                      r.timeoutMs);
    }
    return exitDone;
}

}  // namespace kyctl
