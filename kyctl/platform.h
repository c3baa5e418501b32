// kyctl's platform layer: the run from a parsed line to an exit code, kydoru.dll bound
// from kyctl's own folder when a command calls it, windows found by selector, and the
// requests carried out through the bound exports.
#pragma once
#include <windows.h>

#include "cli.h"
#include "exportbind.h"
#include "frame/systemlibrary.h"

namespace kyctl {

// What kyctl asks of the system where a test stands in for what the test machine lacks
// (a terminal's pseudo-console, an elevated program, a session without a desktop,
// a cloaked window) or wants to read what kyctl prints.
struct SystemCalls {
    HWND(WINAPI *consoleWindow)(void);                      // GetConsoleWindow
    bool (*integrityLevel)(DWORD processId, DWORD *level);  // its token's mandatory level; 0: kyctl's
    bool (*userDesktop)(Text *why);                         // false, with why, when there is none
    bool (*cloaked)(HWND window);                           // hidden by the window manager
    void (*write)(DWORD stream, const char *bytes, size_t length, bool binary);  // STD_OUTPUT_HANDLE...
};
extern SystemCalls systemCalls;

// From the command line (UTF-8) to the exit code: parse, help and version, the checks,
// the binding, the run.
int start(int argc, const char *const *argv);

// ---- output ---------------------------------------------------------------------------

// Text goes to a console through its wide API and elsewhere as UTF-8 with CR LF line
// ends; binary bytes go out exactly as they are.
void writeText(DWORD stream, const Text &text);
void writeBinary(DWORD stream, const unsigned char *bytes, size_t length);
// One line on stderr: "kyctl: " and the message (textFormat's conversions).
void say(const char *format, ...);
// The system's text for an error code, without the closing line break, as UTF-8.
void systemErrorText(DWORD code, Text *out);

// ---- the library and the system's own -------------------------------------------------

// Loads kydoru.dll from the folder of kyctl.exe and binds its exports; false, with one
// line said, when it or an export the command may call is missing (exit 3).
bool bindLibrary(const Command &command, KydoruExports *out);
// A function of a system DLL (loaded from the system directory only, never one planted
// elsewhere), looked up by name, the DLL left loaded for the process's remaining calls;
// null when the DLL or the function is missing.
template <typename Function>
Function systemFunction(const char *dll, const char *name)
{
    HMODULE module = loadSystemLibrary(dll);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)))
                  : nullptr;
}
// UTF-8 from UTF-16 and from the ANSI code page, into out.
void textFromWide(Text *out, const wchar_t *text, int length);
void textFromAnsi(Text *out, const char *text);
// The same, each as its own zero-terminated piece of the buffer.
const char *pieceFromWide(Text *buffer, const wchar_t *text);
const char *pieceFromAnsi(Text *buffer, const char *text);

// ---- windows ----------------------------------------------------------------------------

enum { maxWindows = 256 };
// The windows a selector names, topmost first. None: 0, and unless quiet one line says
// which selector matched nothing. --active on kyctl's own terminal: -1 (a usage error).
int findWindows(const Selector &selector, HWND *out, int room, bool quiet);
// Whether `window` is one the selector names (as findWindows would choose it).
bool selectorMatches(const Selector &selector, HWND window);
// Whether kyctl may change the windows: false, with one line said, when one belongs
// to a process of higher integrity (an elevated program, from a normal kyctl).
bool reachable(const Selector &selector, const HWND *windows, int count);
// The window's handle, title, class, process and program, for wait's report; the
// strings live in `buffer`.
WindowRecord describeWindow(HWND window, Text *buffer);

// ---- the commands -------------------------------------------------------------------------

// An export called with the last error cleared just before, so the error read right
// after it is the export's own and never an older one.
template <typename Call>
auto clearedCall(DWORD *error, Call call) -> decltype(call())
{
    SetLastError(0);
    auto result = call();
    *error = GetLastError();
    return result;
}
// One line naming the export and what failed (textFormat's conversions), with the
// system's text for `error` when there is one (0: none); returns exit 1.
int failed(const char *exportName, DWORD error, const char *format, ...);
#define EXPORT_NAME(name) KYDORU_EXPORT_NAME(name)

// Carries out a parsed request with the bound exports; returns the exit code.
int run(const Request &request, const KydoruExports &ky);
int runSerial(const Request &request, const KydoruExports &ky);
int runDesktopSwitch(const Request &request, const KydoruExports &ky);
int runWait(const Request &request);
int runMonitors(const Request &request);
int runModeOfMonitor(const Request &request);
// For a form whose export acts on the primary monitor: exit 0 when --monitor is absent or
// names the primary; else (no such monitor, or another one) exit 2, with the reason said.
int checkPrimaryOnly(const Request &request);

}  // namespace kyctl
