// kyctl's pure logic: the command table, the parsed request, number and selector parsing
// and the JSON text helpers. Nothing here calls the system, so it is tested directly.
#pragma once
#include <stddef.h>

namespace kyctl {

// Exit codes, the same for every command.
enum ExitCode { exitDone = 0, exitFailed = 1, exitUsage = 2, exitMissing = 3 };

enum Action {
    actNone, actHelp, actVersion,
    actMode, actModeCheck, actModeTemporary, actModePermanent, actFullscreen, actFullscreenCancel,
    actTransparent, actOpaque, actFlash, actEffect, actEffectDesktop, actCopyEffect, actErase, actSweep,
    actTaskbar, actStartButton, actTrayClock, actIcons, actDesktopWindow, actDesktopSwitch,
    actCapsLockState, actCapsLockSet, actNumLockState, actNumLockSet,
    actMonitorOff, actReboot, actSuspend, actHibernate,
    actCpu, actDisk, actSysdir, actApplet, actSerial, actClock, actLogo,
};

// How a window is chosen.
enum SelectorKind { selNone, selHandle, selTitle, selTitleContains, selClass, selPid, selActive };

struct Selector {
    SelectorKind kind;
    unsigned long long number;  // the handle or the process id
    const char *text;           // the title or class (points into argv)
    const char *option;         // the option as given, for messages
};

enum LockWish { lockOff = 0, lockOn = 1, lockToggle = 2 };
enum { maxSendBytes = 4096, maxReadBytes = 65536 };

struct Request {
    Action action;
    bool json;
    bool all;    // apply to every matching window
    bool yes;    // power commands act only with it
    bool show;   // shell elements: show (true) or hide
    Selector target, source;
    int alpha, count, effect, blank, seconds, disk, lock;
    int applet;  // 0 mouse, 1 date and time
    // serial
    char port[16];  // "COM7"
    unsigned int baud;
    int bits, parity, stopBits, readCount, timeoutMs;
    bool hex;
    unsigned char send[maxSendBytes];
    int sendLength;
    const char *helpTopic;
};

// The parser's verdict: ok, or a one-line message for stderr (exit 2).
struct Parsed {
    bool ok;
    char message[256];
};

// Parses argv[1..argc-1] into *request.
Parsed parseArguments(int argc, const char *const *argv, Request *request);

// The command table behind `kyctl help`.
struct Command {
    const char *name;     // the first word
    const char *group;    // display, windows, shell, keys, power, system, serial, shows
    const char *usage;    // one or more usage lines, '\n'-separated, each "kyctl ..."
    const char *summary;  // one line
    const char *details;  // the help page's body
};
extern const Command commands[];
extern const int commandCount;
const Command *findCommand(const char *name);

// Writes the help text (the list, or one command's page) into out; false for an unknown topic.
bool helpText(const char *topic, char *out, size_t size);

// Numbers: decimal with an optional sign, the whole text, within [low, high].
bool parseInt(const char *text, long long low, long long high, long long *out);
// A window handle: 0x-prefixed hex or decimal, 1 to 0xFFFFFFFF.
bool parseHandle(const char *text, unsigned long long *out);
// Hex bytes, pairs of digits, optionally separated by spaces; at most `room` bytes.
bool parseHexBytes(const char *text, unsigned char *out, int room, int *length);
// "COM1" to "COM255", any case; writes the canonical "COMn".
bool parsePort(const char *text, char *out, size_t size);

// Appends text to out as a JSON string (quoted, escaped); returns false when it does not fit.
bool jsonString(const char *text, size_t length, char *out, size_t size);
// Bytes as lower-case hex pairs separated by spaces.
void hexText(const unsigned char *bytes, int length, char *out, size_t size);

}  // namespace kyctl
