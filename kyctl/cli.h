// kyctl's pure logic: the command table, the parsed request, the text parsers and the
// formatting of everything kyctl prints. Nothing here calls the system, so a test calls
// it directly with literal values. All text is UTF-8; window texts are UTF-16.
#pragma once
#include <stdarg.h>
#include <stddef.h>

namespace kyctl {

// Exit codes, the same for every command.
enum ExitCode { exitDone = 0, exitFailed = 1, exitUsage = 2, exitMissing = 3 };

// What a form of a command does; the platform layer carries out each.
enum Action {
    actNone, actHelp, actVersion,
    actMode, actModeMonitor, actModeCheck, actModeTemporary, actModePermanent, actFullscreen, actFullscreenCancel,
    actMonitors,
    actTransparent, actOpaque, actFlash, actEffect, actEffectDesktop, actCopyEffect, actErase, actSweep,
    actTaskbar, actStartButton, actTrayClock, actIcons, actDesktopWindow, actDesktopSwitch,
    actCapsLockState, actCapsLockSet, actNumLockState, actNumLockSet,
    actMonitorOff, actReboot, actSuspend, actHibernate,
    actCpu, actDisk, actSysdir, actApplet, actSerial, actClock, actLogo,
    actWaitAppear, actWaitGone, actWaitActive,
};

// ---- the command table ------------------------------------------------------------

struct Text;

// One way of calling a command: what it does and its grammar, written as the usage line
// after "kyctl NAME" reads. The parser interprets the grammar:
//   check          a literal word             hide|show    one of these words
//   ALPHA          a value (see the placeholders in grammar.cpp)
//   TARGET         a window selector (--hwnd, --title, ...); SOURCE after --from
//   --all          a flag                     --for SECONDS  an option with its value
//   [ ... ]        optional                   [--a X | --b Y]  at most one of them
// A form that allows [--json] reports something.
struct Form {
    Action action;
    const char *grammar;
    bool withoutLibrary = false;  // calls no export, though its command does: kydoru.dll is not loaded
};

enum { maxForms = 5, maxCommandExports = 8 };

struct Command {
    const char *name;                      // the first word
    const char *group;                     // the heading `help` lists it under
    Form forms[maxForms];                  // tried in order; unused ones have actNone
    short exports[maxCommandExports];      // the exports it may call (table indices), -1 ends
    bool needsDesktop;                     // acts on the user's screen, windows or keyboard
    const char *defaults;                  // values assumed when not given, as on a command line
    const char *summary;                   // one line
    const char *details;                   // the help page's body
    const char *example;                   // the docs example, "kyctl ..."
};
extern const Command commands[];
extern const int commandCount;
const Command *findCommand(const char *name);
// Whether a form takes --json.
bool formReports(const Form &form);
struct Request;
// Whether carrying out a parsed request calls kydoru.dll (and so loads it).
bool callsLibrary(const Request &request);
// The ranges of the numbers a command takes ("ALPHA 0..255, COUNT 1..1000"), for help.
void valueRanges(const Command &command, Text *out);
// Whether a grammar reads: brackets closed, every placeholder and choice known.
bool grammarReads(const char *grammar);

// The key that brings the user back from the alternate desktop (`desktop switch`),
// registered there as a hot key: its name and, beside it, the key itself.
#define KYCTL_WAY_BACK_KEYS "Ctrl+Alt+Q"
enum { wayBackModifiers = 0x0003 /* MOD_ALT | MOD_CONTROL */, wayBackKey = 'Q' };

// ---- the parsed request -----------------------------------------------------------

// How a window is chosen.
enum SelectorKind { selNone, selHandle, selTitle, selTitleContains, selClass, selPid, selExe, selActive };

struct Selector {
    SelectorKind kind;
    unsigned long long number;  // the handle or the process id
    const char *text;           // the title, class or file name (points into argv)
    const char *option;         // the option as given, for messages
    bool literal;               // --match exact: * and ? are plain characters
};

enum LockWish { lockOff = 0, lockOn = 1, lockToggle = 2 };
enum { maxSendBytes = 4096, maxReadBytes = 65536 };
// The most monitors kyctl lists, and so the highest --monitor it takes.
enum { maxMonitors = 32 };

// Numbers and choices not given and without a default are -1.
struct Request {
    Action action;
    const Command *command;
    bool json, all, yes, hex;
    Selector target, source;
    int show, alpha, count, effect, blank, seconds, disk, lock, applet;
    int baud, bits, parity, stopBits, readCount, timeoutMs;
    int monitor;    // --monitor: 1-based, as `monitors` numbers them
    char port[16];  // "COM7"
    unsigned char send[maxSendBytes];
    int sendLength;
    const char *helpTopic;
};

// The parser's verdict: ok, or a one-line message for stderr (exit 2).
struct Parsed {
    bool ok;
    char message[512];
};

// Parses argv[1..argc-1] (UTF-8) into *request.
Parsed parseArguments(int argc, const char *const *argv, Request *request);

// ---- text -------------------------------------------------------------------------

// An output buffer that never overflows: what does not fit is dropped and `full` set.
struct Text {
    char *data;
    size_t size, used;
    bool full;
};
Text textOver(char *buffer, size_t size);
void textAdd(Text *text, const char *bytes, size_t length);
void textPut(Text *text, const char *zeroTerminated);
// printf-like: %s (UTF-8, control characters escaped as in escapeText), %d, %u, %lu,
// %lX, %lld, %llu, %llX and %%.
void textFormat(Text *text, const char *format, ...);
void textFormatList(Text *text, const char *format, va_list args);

// Shows text in one line: control characters (C0, DEL, C1) escaped as \n \r \t \xHH or
// \u0085, and bytes that are not UTF-8 as \xHH.
void escapeText(Text *out, const char *text, size_t length);

// Numbers: decimal with an optional sign, the whole text, within [low, high].
bool parseInt(const char *text, long long low, long long high, long long *out);
// A window handle: 0x-prefixed hex or decimal, 1 to 0xFFFFFFFF. Decimal with a leading
// zero is refused: it is hex as Spy++ shows it more often than not.
enum HandleVerdict { handleOk, handleBad, handleAmbiguous };
HandleVerdict parseHandle(const char *text, unsigned long long *out);
// Hex bytes, pairs of digits, optionally separated by spaces; at most `room` bytes.
bool parseHexBytes(const char *text, unsigned char *out, int room, int *length);
// --send text: the bytes of the text with \r \n \t \xHH and \\ understood. On a bad
// escape returns false with *length at the backslash.
bool parseSendText(const char *text, unsigned char *out, int room, int *length);
// "COM1" to "COM255", any case; writes the canonical "COMn".
bool parsePort(const char *text, char *out, size_t size);

// Whether `text` matches `pattern` with * (any run) and ? (one character; a surrogate
// pair is one), code unit for code unit otherwise. Case is the caller's to fold.
bool wildcardMatch(const wchar_t *pattern, const wchar_t *text);
bool hasWildcard(const char *text);

// ---- what kyctl prints --------------------------------------------------------------

// A JSON string: quoted, escaped, and valid UTF-8 whatever the bytes (those that are not
// UTF-8 become U+FFFD).
void jsonString(Text *out, const char *text, size_t length);
// Bytes as lower-case hex pairs separated by spaces.
void hexText(Text *out, const unsigned char *bytes, size_t length);

struct ModeRecord {
    int width, height, bitsPerPixel, refreshRate;
    bool sizeOnly = false;  // only the size is known: the depth and rate are unknown (null in JSON)
};
struct DiskRecord {
    int index;
    const char *model, *serial, *revision;  // UTF-8
};
struct WindowRecord {
    unsigned long long handle;
    const char *title, *className, *exe;  // UTF-8; exe null when it can't be read
    unsigned long pid;
};
// A rectangle on the virtual screen; right and bottom lie just outside it, as in RECT.
struct Area {
    int left, top, right, bottom;
};
struct MonitorRecord {
    int index;           // 1-based: see numberMonitors
    const char *device;  // "\\.\DISPLAY1", UTF-8
    bool primary;
    Area area, workArea;
    ModeRecord mode;
    int dpi;  // 0 when not known
};
enum SerialShow { serialText, serialHex, serialJson };

// The order monitors are listed and numbered in: the primary first, then the others
// in the order Windows enumerates them; index becomes 1, 2, ...
void numberMonitors(MonitorRecord *monitors, int count);

void formatVersion(Text *out, bool json, const char *version);
void formatMode(Text *out, bool json, const ModeRecord &mode);
void formatModeCheck(Text *out, bool json, int code);
void formatLockState(Text *out, bool json, bool capsLock, bool on);
void formatCpu(Text *out, bool json, unsigned int mhz);
void formatDisks(Text *out, bool json, const DiskRecord *disks, int count);
void formatMonitors(Text *out, bool json, const MonitorRecord *monitors, int count);
void formatSysdir(Text *out, bool json, const char *path);
// Text: the bytes exactly as received; hex: the pairs and a line end; JSON: the port,
// the count sent and the bytes received as hex (never raw bytes in JSON).
void formatSerial(Text *out, SerialShow show, const char *port, int sent, const unsigned char *bytes, size_t count);
void formatWindow(Text *out, bool json, const WindowRecord &window);

// The help text: the list, or one command's page; false for an unknown topic.
bool helpText(const char *topic, Text *out);

}  // namespace kyctl
