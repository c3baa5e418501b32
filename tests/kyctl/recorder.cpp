// A stand-in kydoru.dll for kyctl, made from the export table: every export appends one
// line to calls.log beside the DLL, its name and its arguments as text
// ("kyFlashWindow(0x1A2B, 5)"), and returns 1 (the success of most exports), so every
// command, the power commands included, can be run without touching the machine.
// Results can be scripted in script.txt beside the DLL, one line per export:
//   NAME TOKEN TOKEN ...   each call takes the next token, then 1 again;
//   TOKEN = [RESULT][=HEX][!ERROR]: the result, the bytes written to the export's output
//   (ky_ReadByte's byte, kyHDid's and kyGetWSPath's text, without the closing zero),
//   and the last error left.
// Built twice: complete, and without kyProcSpeed to see kyctl report a missing export.
#include <windows.h>

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#define KYCALL __cdecl
#include "exporttable.h"

namespace {

HMODULE self;

// ---- what the call log holds ---------------------------------------------------------

struct Line {
    char text[512];
    size_t used;
};

void add(Line *line, const char *piece)
{
    size_t n = strlen(piece);
    if (line->used + n < sizeof line->text) {
        memcpy(line->text + line->used, piece, n + 1);
        line->used += n;
    }
}

// Each argument as the table types it: numbers in decimal, windows in hex, input texts
// and bytes by value, output buffers as "&".
void put(Line *line, int value) { add(line, std::to_string(value).c_str()); }
void put(Line *line, unsigned int value) { add(line, std::to_string(value).c_str()); }
void put(Line *line, HWND window)
{
    char text[24];
    snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    add(line, text);
}
void put(Line *line, const char *text)
{
    add(line, "\"");
    add(line, text);
    add(line, "\"");
}
void put(Line *line, const unsigned char *byte)
{
    char text[8];
    snprintf(text, sizeof text, "0x%02X", *byte);
    add(line, text);
}
void put(Line *line, char *) { add(line, "&"); }
void put(Line *line, int *) { add(line, "&"); }
void put(Line *line, unsigned char *) { add(line, "&"); }

void putAll(Line *) {}
template <typename First, typename... Rest>
void putAll(Line *line, First first, Rest... rest)
{
    put(line, first);
    if (sizeof...(rest))
        add(line, ", ");
    putAll(line, rest...);
}

std::string besideSelf(const char *name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = strrchr(path, '\\');
    if (!slash)
        return name;
    slash[1] = '\0';
    return std::string(path) + name;
}

void record(const Line &line)
{
    HANDLE log = CreateFileA(besideSelf("calls.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, line.text, static_cast<DWORD>(line.used), &written, NULL);
    WriteFile(log, "\r\n", 2, &written, NULL);
    CloseHandle(log);
}

// ---- the script ----------------------------------------------------------------------

struct Outcome {
    bool scripted;
    long long result;
    unsigned char bytes[256];
    size_t length;
    bool setsError;
    DWORD error;
};

// The next scripted outcome of export `name`, if its line has one left.
Outcome next(const char *name)
{
    static char script[16384];
    static bool read;
    static int used[64];  // the tokens each line has given
    Outcome outcome = {};
    if (!read) {
        read = true;
        FILE *file = fopen(besideSelf("script.txt").c_str(), "rb");
        if (file) {
            script[fread(script, 1, sizeof script - 1, file)] = '\0';
            fclose(file);
        }
    }
    int lineIndex = 0;
    for (char *line = script; *line; ++lineIndex) {
        char *end = strchr(line, '\n');
        size_t length = end ? static_cast<size_t>(end - line) : strlen(line);
        size_t nameLength = strcspn(line, " \r\n");
        if (nameLength == strlen(name) && strncmp(line, name, nameLength) == 0 && lineIndex < 64) {
            // Skip the tokens this export has taken already.
            char *token = line + nameLength;
            for (int skip = 0; skip <= used[lineIndex]; ++skip) {
                token += strspn(token, " ");
                if (skip < used[lineIndex])
                    token += strcspn(token, " \r\n");
            }
            if (token >= line + length || *token == '\r' || *token == '\n' || !*token)
                return outcome;
            ++used[lineIndex];
            outcome.scripted = true;
            outcome.result = 1;
            char *p = token;
            if (*p != '=' && *p != '!')
                outcome.result = strtoll(p, &p, 0);
            if (*p == '=')
                for (++p; isxdigit(static_cast<unsigned char>(p[0])) && isxdigit(static_cast<unsigned char>(p[1])) &&
                          outcome.length < sizeof outcome.bytes;
                     p += 2) {
                    char pair[3] = {p[0], p[1], 0};
                    outcome.bytes[outcome.length++] = static_cast<unsigned char>(strtoul(pair, nullptr, 16));
                }
            if (*p == '!') {
                outcome.setsError = true;
                outcome.error = strtoul(p + 1, nullptr, 0);
            }
            return outcome;
        }
        line += length + (end ? 1 : 0);
    }
    return outcome;
}

// Writes the scripted bytes to the export's output argument, if it has one.
void fillOutput(const Outcome &o, char *buffer)
{
    memcpy(buffer, o.bytes, o.length);
    buffer[o.length] = '\0';
}
void fillOutput(const Outcome &o, unsigned char *byte)
{
    if (o.length)
        *byte = o.bytes[0];
}
template <typename T>
void fillOutput(const Outcome &, T)
{
}

void fillAll(const Outcome &) {}
template <typename First, typename... Rest>
void fillAll(const Outcome &o, First first, Rest... rest)
{
    fillOutput(o, first);
    fillAll(o, rest...);
}

template <typename Result>
Result resultOf(const Outcome &o)
{
    return o.scripted ? (Result)(o.result) : Result(1);
}
template <>
void resultOf<void>(const Outcome &)
{
}

// One call: logged, scripted, and the caller's last error kept unless the script sets it
// (the log's own file calls must not leave one behind).
template <typename Result, typename... Args>
Result call(const char *name, Args... args)
{
    DWORD callersError = GetLastError();
    Line line = {};
    add(&line, name);
    add(&line, "(");
    putAll(&line, args...);
    add(&line, ")");
    record(line);
    Outcome outcome = next(name);
    if (outcome.scripted && outcome.length)
        fillAll(outcome, args...);
    SetLastError(outcome.setsError ? outcome.error : callersError);
    return resultOf<Result>(outcome);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

#ifdef KYCTL_FAKE_WITHOUT_PROCSPEED
// Exported under another name, so the DLL lacks kyProcSpeed itself.
#define kyProcSpeed kyProcSpeed_absent
#endif

#define KYCTL_FAKE_EXPORT(ordinal, name, result, params, args)                \
    extern "C" __declspec(dllexport) result KYCALL name params                 \
    {                                                                          \
        auto forward = [](auto... a) { return call<result>(#name, a...); };    \
        return forward args;                                                   \
    }
KYDORU_EXPORT_TABLE(KYCTL_FAKE_EXPORT)
