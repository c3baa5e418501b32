// Parsing kyctl's command line into a Request, and the small text helpers (numbers,
// handles, hex bytes, port names, JSON strings). Every value from the command line is
// checked here; the platform layer only acts on a request that parsed.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "cli.h"

namespace kyctl {

// ---- numbers and texts ------------------------------------------------------------

bool parseInt(const char *text, long long low, long long high, long long *out)
{
    const char *p = text;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    unsigned long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFFFull)  // far beyond every range below, and no overflow
            return false;
    }
    if (*p)
        return false;
    long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (signedValue < low || signedValue > high)
        return false;
    *out = signedValue;
    return true;
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

bool parseHandle(const char *text, unsigned long long *out)
{
    unsigned long long value = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const char *p = text + 2;
        if (!*p)
            return false;
        for (; *p; ++p) {
            int digit = hexDigit(*p);
            if (digit < 0 || value > 0xFFFFFFFull)
                return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
    } else {
        long long decimal;
        if (text[0] == '-' || text[0] == '+' || !parseInt(text, 0, 0xFFFFFFFFll, &decimal))
            return false;
        value = static_cast<unsigned long long>(decimal);
    }
    if (value == 0 || value > 0xFFFFFFFFull)
        return false;
    *out = value;
    return true;
}

bool parseHexBytes(const char *text, unsigned char *out, int room, int *length)
{
    int n = 0;
    for (const char *p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        int high = hexDigit(p[0]), low = high < 0 ? -1 : hexDigit(p[1]);
        if (high < 0 || low < 0 || n == room)
            return false;
        out[n++] = static_cast<unsigned char>(high * 16 + low);
        p += 2;
    }
    if (n == 0)
        return false;
    *length = n;
    return true;
}

bool parsePort(const char *text, char *out, size_t size)
{
    if ((text[0] | 0x20) != 'c' || (text[1] | 0x20) != 'o' || (text[2] | 0x20) != 'm')
        return false;
    long long number;
    if (text[3] < '1' || text[3] > '9' || !parseInt(text + 3, 1, 255, &number))
        return false;
    snprintf(out, size, "COM%lld", number);
    return true;
}

bool jsonString(const char *text, size_t length, char *out, size_t size)
{
    size_t used = 0;
    auto add = [&](const char *piece, size_t n) {
        if (used + n + 1 > size)
            return false;
        memcpy(out + used, piece, n);
        used += n;
        out[used] = '\0';
        return true;
    };
    if (size == 0 || !add("\"", 1))
        return false;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char escaped[8];
        if (c == '"' || c == '\\') {
            escaped[0] = '\\';
            escaped[1] = static_cast<char>(c);
            if (!add(escaped, 2))
                return false;
        } else if (c < 0x20 || c == 0x7F) {
            snprintf(escaped, sizeof escaped, "\\u%04x", c);
            if (!add(escaped, 6))
                return false;
        } else if (!add(reinterpret_cast<const char *>(&c), 1)) {
            return false;
        }
    }
    return add("\"", 1);
}

void hexText(const unsigned char *bytes, int length, char *out, size_t size)
{
    size_t used = 0;
    out[0] = '\0';
    for (int i = 0; i < length && used + 4 <= size; ++i)
        used += static_cast<size_t>(snprintf(out + used, size - used, i ? " %02x" : "%02x", bytes[i]));
}

// ---- the command line -------------------------------------------------------------

namespace {

enum Option {
    optJson, optAll, optYes, optHex, optDesktop, optTemporary, optPermanent, optFrom, optHelp,
    optBlank, optFor, optBaud, optBits, optParity, optStop, optSend, optSendHex, optRead, optTimeout,
    optHwnd, optTitle, optTitleContains, optClass, optPid, optActive, optCount
};

struct OptionInfo {
    const char *name;
    bool takesValue;
};

const OptionInfo options[optCount] = {
    {"--json", false},  {"--all", false},        {"--yes", false},   {"--hex", false},    {"--desktop", false},
    {"--temporary", false}, {"--permanent", false}, {"--from", false}, {"--help", false},
    {"--blank", true},  {"--for", true},         {"--baud", true},   {"--bits", true},    {"--parity", true},
    {"--stop", true},   {"--send", true},        {"--send-hex", true}, {"--read", true},  {"--timeout", true},
    {"--hwnd", true},   {"--title", true},       {"--title-contains", true}, {"--class", true}, {"--pid", true},
    {"--active", false},
};

const unsigned selectorOptions = 1u << optHwnd | 1u << optTitle | 1u << optTitleContains | 1u << optClass |
                                 1u << optPid | 1u << optActive;

enum { maxPositionals = 8 };

struct Scan {
    const char *command;
    const char *positional[maxPositionals];
    int positionals;
    const char *value[optCount];  // the value (or the flag's own text) of each option seen
    bool fromPending;
};

struct Parser {
    Parsed *result;
    const char *command;
};

bool fail(Parser *p, const char *format, ...)
{
    char text[200];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (p->command && findCommand(p->command))
        snprintf(p->result->message, sizeof p->result->message, "%s; see kyctl help %s", text, p->command);
    else
        snprintf(p->result->message, sizeof p->result->message, "%s; see kyctl help", text);
    p->result->ok = false;
    return false;
}

bool storeSelector(Parser *p, Option option, const char *value, Selector *into)
{
    if (into->kind != selNone)
        return fail(p, "%s: give one window selector only (already %s)", options[option].name, into->option);
    into->option = options[option].name;
    switch (option) {
    case optHwnd:
        into->kind = selHandle;
        if (!parseHandle(value, &into->number))
            return fail(p, "--hwnd \"%s\": not a window handle (hex 0x1A2B or decimal, not 0)", value);
        return true;
    case optPid: {
        long long pid;
        into->kind = selPid;
        if (!parseInt(value, 1, 0xFFFFFFFFll, &pid))
            return fail(p, "--pid \"%s\": not a process id (1 to 4294967295)", value);
        into->number = static_cast<unsigned long long>(pid);
        return true;
    }
    case optActive:
        into->kind = selActive;
        return true;
    default:
        into->kind = option == optTitle ? selTitle : option == optTitleContains ? selTitleContains : selClass;
        if (!value[0])
            return fail(p, "%s: the text is empty", options[option].name);
        into->text = value;
        return true;
    }
}

// Splits the words into the command, positionals and options; selectors go to the target,
// or to the source right after --from.
bool scan(Parser *p, int argc, const char *const *argv, Scan *s, Request *request)
{
    memset(s, 0, sizeof *s);
    for (int i = 1; i < argc; ++i) {
        const char *word = argv[i];
        bool looksLikeOption = word[0] == '-' && word[1] && !(word[1] >= '0' && word[1] <= '9');
        if (!looksLikeOption) {
            if (!s->command)
                p->command = s->command = word;
            else if (s->positionals == maxPositionals)
                return fail(p, "too many arguments (\"%s\")", word);
            else
                s->positional[s->positionals++] = word;
            continue;
        }
        if (strcmp(word, "--version") == 0 && argc == 2) {
            request->action = actVersion;
            return true;
        }
        int option = 0;
        while (option < optCount && strcmp(options[option].name, word) != 0)
            ++option;
        if (option == optCount)
            return fail(p, "unknown option \"%s\"", word);
        const char *value = word;
        if (options[option].takesValue) {
            if (i + 1 >= argc)
                return fail(p, "%s needs a value", word);
            value = argv[++i];
        }
        if (selectorOptions >> option & 1) {
            Selector *into = s->fromPending ? &request->source : &request->target;
            s->fromPending = false;
            if (!storeSelector(p, static_cast<Option>(option), value, into))
                return false;
            continue;
        }
        if (s->value[option] && option != optJson)
            return fail(p, "%s is given twice", word);
        if (option == optFrom)
            s->fromPending = true;
        s->value[option] = value;
    }
    if (s->fromPending)
        return fail(p, "--from needs a window selector after it (--hwnd, --title, ...)");
    return true;
}

bool number(Parser *p, const char *what, const char *text, long long low, long long high, int *out)
{
    long long value;
    if (!parseInt(text, low, high, &value))
        return fail(p, "%s \"%s\": not a number from %lld to %lld", what, text, low, high);
    *out = static_cast<int>(value);
    return true;
}

// Which words of `choices` ("hide|show") the text is: its index, or -1.
int choice(const char *text, const char *choices)
{
    int index = 0;
    size_t length = strlen(text);
    for (const char *c = choices; *c; ++index) {
        const char *end = strchr(c, '|');
        size_t n = end ? static_cast<size_t>(end - c) : strlen(c);
        if (n == length && strncmp(c, text, n) == 0)
            return index;
        c += n + (end ? 1 : 0);
    }
    return -1;
}

bool positionalCount(Parser *p, const Scan &s, int low, int high)
{
    if (s.positionals < low)
        return fail(p, "%s: missing argument", s.command);
    if (s.positionals > high)
        return fail(p, "%s: unexpected argument \"%s\"", s.command, s.positional[high]);
    return true;
}

bool onlyOptions(Parser *p, const Scan &s, const Request &r, unsigned allowed)
{
    allowed |= 1u << optJson | 1u << optHelp;
    for (int o = 0; o < optCount; ++o)
        if (s.value[o] && !(allowed >> o & 1))
            return fail(p, "%s: %s does not apply here", s.command, options[o].name);
    if ((r.target.kind != selNone || r.source.kind != selNone) && !(allowed & selectorOptions))
        return fail(p, "%s: takes no window", s.command);
    return true;
}

bool needTarget(Parser *p, const Scan &s, const Request &r)
{
    if (r.target.kind == selNone)
        return fail(p, "%s: no window given (--hwnd, --title, --title-contains, --class, --pid or --active)", s.command);
    return true;
}

bool hideShow(Parser *p, const Scan &s, Request *r, Action action)
{
    if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 1, 1))
        return false;
    int which = choice(s.positional[0], "hide|show");
    if (which < 0)
        return fail(p, "%s: \"%s\" is not hide or show", s.command, s.positional[0]);
    r->action = action;
    r->show = which == 1;
    return true;
}

bool lockKey(Parser *p, const Scan &s, Request *r, Action state, Action set)
{
    if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 0, 1))
        return false;
    if (s.positionals == 0) {
        r->action = state;
        return true;
    }
    r->lock = choice(s.positional[0], "off|on|toggle");
    if (r->lock < 0)
        return fail(p, "%s: \"%s\" is not on, off or toggle", s.command, s.positional[0]);
    r->action = set;
    return true;
}

bool blankMode(Parser *p, const Scan &s, Request *r)
{
    r->blank = 1;  // black unless told
    if (s.value[optBlank]) {
        int mode = choice(s.value[optBlank], "none|black|white");
        if (mode < 0)
            return fail(p, "--blank \"%s\": not black, white or none", s.value[optBlank]);
        r->blank = mode;  // the library's numbers: 0 none, 1 black, 2 white
    }
    return true;
}

bool power(Parser *p, const Scan &s, Request *r, Action action)
{
    if (!onlyOptions(p, s, *r, 1u << optYes) || !positionalCount(p, s, 0, 0))
        return false;
    r->action = action;
    r->yes = s.value[optYes] != nullptr;
    return true;
}

bool serial(Parser *p, const Scan &s, Request *r)
{
    unsigned allowed = 1u << optBaud | 1u << optBits | 1u << optParity | 1u << optStop | 1u << optSend |
                       1u << optSendHex | 1u << optRead | 1u << optTimeout | 1u << optHex;
    if (!onlyOptions(p, s, *r, allowed) || !positionalCount(p, s, 1, 1))
        return false;
    if (!parsePort(s.positional[0], r->port, sizeof r->port))
        return fail(p, "serial: \"%s\" is not a port name (COM1 to COM255)", s.positional[0]);
    r->action = actSerial;
    r->baud = 19200;
    r->bits = 8;
    r->timeoutMs = 1000;
    int baud = 19200;
    if (s.value[optBaud] && !number(p, "--baud", s.value[optBaud], 1, 4000000, &baud))
        return false;
    r->baud = static_cast<unsigned>(baud);
    if (s.value[optBits] && !number(p, "--bits", s.value[optBits], 4, 8, &r->bits))
        return false;
    if (s.value[optParity] && (r->parity = choice(s.value[optParity], "none|odd|even|mark|space")) < 0)
        return fail(p, "--parity \"%s\": not none, odd, even, mark or space", s.value[optParity]);
    if (s.value[optStop] && (r->stopBits = choice(s.value[optStop], "1|1.5|2")) < 0)
        return fail(p, "--stop \"%s\": not 1, 1.5 or 2", s.value[optStop]);
    if (s.value[optSend] && s.value[optSendHex])
        return fail(p, "serial: give --send or --send-hex, not both");
    if (s.value[optSend]) {
        size_t length = strlen(s.value[optSend]);
        if (length == 0 || length > maxSendBytes)
            return fail(p, "--send: the text must have 1 to %d characters", maxSendBytes);
        memcpy(r->send, s.value[optSend], length);
        r->sendLength = static_cast<int>(length);
    }
    if (s.value[optSendHex] && !parseHexBytes(s.value[optSendHex], r->send, maxSendBytes, &r->sendLength))
        return fail(p, "--send-hex \"%s\": not pairs of hex digits (1 to %d bytes)", s.value[optSendHex], maxSendBytes);
    if (s.value[optRead] && !number(p, "--read", s.value[optRead], 0, maxReadBytes, &r->readCount))
        return false;
    if (s.value[optTimeout] && !number(p, "--timeout", s.value[optTimeout], 1, 600000, &r->timeoutMs))
        return false;
    r->hex = s.value[optHex] != nullptr;
    return true;
}

// The per-command grammar; `s` is the scanned line.
bool parseCommand(Parser *p, const Scan &s, Request *r)
{
    const char *c = s.command;
    const char *first = s.positionals ? s.positional[0] : "";
    const unsigned windowOptions = selectorOptions | 1u << optAll;
    if (strcmp(c, "help") == 0) {
        if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 0, 1))
            return false;
        r->action = actHelp;
        r->helpTopic = s.positionals ? first : nullptr;
        if (r->helpTopic && !findCommand(r->helpTopic))
            return fail(p, "help: no command \"%s\"", r->helpTopic);
        return true;
    }
    if (strcmp(c, "mode") == 0) {
        if (s.positionals == 0) {
            r->action = actMode;
            return onlyOptions(p, s, *r, 0);
        }
        if (strcmp(first, "check") == 0) {
            r->action = actModeCheck;
            return onlyOptions(p, s, *r, 0) && positionalCount(p, s, 1, 1);
        }
        if (strcmp(first, "set") == 0) {
            if (!onlyOptions(p, s, *r, 1u << optTemporary | 1u << optPermanent) || !positionalCount(p, s, 1, 1))
                return false;
            if (!s.value[optTemporary] == !s.value[optPermanent])
                return fail(p, "mode set: give --temporary or --permanent");
            r->action = s.value[optTemporary] ? actModeTemporary : actModePermanent;
            return true;
        }
        return fail(p, "mode: \"%s\" is not check or set", first);
    }
    if (strcmp(c, "fullscreen") == 0) {
        if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 0, 1))
            return false;
        if (s.positionals && strcmp(first, "cancel") != 0)
            return fail(p, "fullscreen: \"%s\" is not cancel", first);
        r->action = s.positionals ? actFullscreenCancel : actFullscreen;
        return true;
    }
    if (strcmp(c, "transparent") == 0) {
        r->action = actTransparent;
        return onlyOptions(p, s, *r, windowOptions) && positionalCount(p, s, 1, 1) && needTarget(p, s, *r) &&
               number(p, "ALPHA", first, 0, 255, &r->alpha);
    }
    if (strcmp(c, "opaque") == 0 || strcmp(c, "erase") == 0 || strcmp(c, "sweep") == 0) {
        r->action = c[0] == 'o' ? actOpaque : c[0] == 'e' ? actErase : actSweep;
        return onlyOptions(p, s, *r, windowOptions) && positionalCount(p, s, 0, 0) && needTarget(p, s, *r);
    }
    if (strcmp(c, "flash") == 0) {
        r->action = actFlash;
        r->count = 5;
        return onlyOptions(p, s, *r, windowOptions) && positionalCount(p, s, 0, 1) && needTarget(p, s, *r) &&
               (!s.positionals || number(p, "COUNT", first, 1, 1000, &r->count));
    }
    if (strcmp(c, "effect") == 0) {
        if (!onlyOptions(p, s, *r, windowOptions | 1u << optBlank | 1u << optDesktop) ||
            !positionalCount(p, s, 1, 1) || !number(p, "NUMBER", first, 0, 21, &r->effect) || !blankMode(p, s, r))
            return false;
        if (s.value[optDesktop]) {
            r->action = actEffectDesktop;
            if (r->target.kind != selNone || s.value[optAll])
                return fail(p, "effect: --desktop takes no window");
            return true;
        }
        r->action = actEffect;
        return needTarget(p, s, *r);
    }
    if (strcmp(c, "copy-effect") == 0) {
        r->action = actCopyEffect;
        if (!onlyOptions(p, s, *r, windowOptions | 1u << optFrom) || !positionalCount(p, s, 1, 1) ||
            !number(p, "NUMBER", first, 0, 21, &r->effect) || !needTarget(p, s, *r))
            return false;
        if (r->source.kind == selNone)
            return fail(p, "copy-effect: no source window (--from and a selector)");
        return true;
    }
    struct HideShow {
        const char *name;
        Action action;
    };
    static const HideShow shellElements[] = {{"taskbar", actTaskbar}, {"startbutton", actStartButton},
                                             {"trayclock", actTrayClock}, {"icons", actIcons},
                                             {"desktopwindow", actDesktopWindow}};
    for (const HideShow &element : shellElements)
        if (strcmp(c, element.name) == 0)
            return hideShow(p, s, r, element.action);
    if (strcmp(c, "desktop") == 0) {
        if (!onlyOptions(p, s, *r, 1u << optFor) || !positionalCount(p, s, 1, 1))
            return false;
        if (strcmp(first, "switch") != 0)
            return fail(p, "desktop: \"%s\" is not switch", first);
        if (!s.value[optFor])
            return fail(p, "desktop switch: --for SECONDS is required");
        r->action = actDesktopSwitch;
        return number(p, "--for", s.value[optFor], 1, 3600, &r->seconds);
    }
    if (strcmp(c, "capslock") == 0)
        return lockKey(p, s, r, actCapsLockState, actCapsLockSet);
    if (strcmp(c, "numlock") == 0)
        return lockKey(p, s, r, actNumLockState, actNumLockSet);
    if (strcmp(c, "monitor") == 0) {
        if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 1, 1))
            return false;
        if (strcmp(first, "off") != 0)
            return fail(p, "monitor: \"%s\" is not off", first);
        r->action = actMonitorOff;
        return true;
    }
    if (strcmp(c, "reboot") == 0)
        return power(p, s, r, actReboot);
    if (strcmp(c, "suspend") == 0)
        return power(p, s, r, actSuspend);
    if (strcmp(c, "hibernate") == 0)
        return power(p, s, r, actHibernate);
    if (strcmp(c, "cpu") == 0 || strcmp(c, "sysdir") == 0) {
        r->action = c[0] == 'c' ? actCpu : actSysdir;
        return onlyOptions(p, s, *r, 0) && positionalCount(p, s, 0, 0);
    }
    if (strcmp(c, "disk") == 0) {
        r->action = actDisk;
        r->disk = -1;
        return onlyOptions(p, s, *r, 0) && positionalCount(p, s, 0, 1) &&
               (!s.positionals || number(p, "INDEX", first, 0, 3, &r->disk));
    }
    if (strcmp(c, "applet") == 0) {
        if (!onlyOptions(p, s, *r, 0) || !positionalCount(p, s, 1, 1))
            return false;
        r->applet = choice(first, "mouse|datetime");
        if (r->applet < 0)
            return fail(p, "applet: \"%s\" is not mouse or datetime", first);
        r->action = actApplet;
        return true;
    }
    if (strcmp(c, "serial") == 0)
        return serial(p, s, r);
    if (strcmp(c, "clock") == 0 || strcmp(c, "logo") == 0) {
        r->action = c[0] == 'c' ? actClock : actLogo;
        return onlyOptions(p, s, *r, 0) && positionalCount(p, s, 0, 0);
    }
    p->command = nullptr;
    return fail(p, "unknown command \"%s\"", c);
}

bool reports(Action action)
{
    switch (action) {
    case actMode: case actModeCheck: case actCapsLockState: case actNumLockState: case actCpu: case actDisk:
    case actSysdir: case actSerial:
        return true;
    default:
        return false;
    }
}

}  // namespace

Parsed parseArguments(int argc, const char *const *argv, Request *request)
{
    Parsed result = {true, ""};
    Parser p = {&result, nullptr};
    memset(request, 0, sizeof *request);
    Scan s;
    if (!scan(&p, argc, argv, &s, request))
        return result;
    if (request->action == actVersion)
        return result;
    if (s.value[optHelp]) {  // `kyctl COMMAND --help` is `kyctl help COMMAND`
        request->action = actHelp;
        request->helpTopic = s.command && findCommand(s.command) ? s.command : nullptr;
        return result;
    }
    if (!s.command) {
        fail(&p, "no command given");
        return result;
    }
    if (!parseCommand(&p, s, request))
        return result;
    request->json = s.value[optJson] != nullptr;
    request->all = s.value[optAll] != nullptr;
    if (request->json && !reports(request->action))
        fail(&p, "--json: %s reports nothing", s.command);
    return result;
}

}  // namespace kyctl
