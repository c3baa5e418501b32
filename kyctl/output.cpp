// What kyctl prints, on its way out: stdout for what a command reports, stderr for one
// line per message, and the system's own words for an error code.
#include "platform.h"

namespace kyctl {

void writeText(DWORD stream, const Text &text)
{
    systemCalls.write(stream, text.data, text.used, false);
}

void writeBinary(DWORD stream, const unsigned char *bytes, size_t length)
{
    systemCalls.write(stream, reinterpret_cast<const char *>(bytes), length, true);
}

void say(const char *format, ...)
{
    char line[2048];
    Text text = textOver(line, sizeof line - 1);
    textPut(&text, "kyctl: ");
    va_list args;
    va_start(args, format);
    textFormatList(&text, format, args);
    va_end(args);
    // A message too long for the line still ends it.
    text.full = false;
    text.size = sizeof line;
    textPut(&text, "\n");
    writeText(STD_ERROR_HANDLE, text);
}

void systemErrorText(DWORD code, Text *out)
{
    wchar_t wide[512];
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code, 0, wide,
                             512, NULL);
    while (n > 0 && (wide[n - 1] == L'\n' || wide[n - 1] == L'\r' || wide[n - 1] == L' ' || wide[n - 1] == L'.'))
        --n;
    if (n == 0)
        textFormat(out, "error %lu", static_cast<unsigned long>(code));
    else
        textFromWide(out, wide, static_cast<int>(n));
}

}  // namespace kyctl
