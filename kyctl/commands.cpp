// The command table: one row per command, and everything else derives from it (the
// parser interprets each form's grammar, `help` lists and explains the rows, the tests
// and the docs check walk them). To add a command: a row here, an action in cli.h, and
// the code that carries the action out in run.cpp.
#include <string.h>

#include "cli.h"
#include "exportbind.h"

namespace kyctl {

// The exports a command may call, by their names in the export table (a misspelt name
// does not compile); -1 ends the list.
#define KY(name) kydoru_index_##name
#define EXPORTS(...) {__VA_ARGS__, -1}
#define NO_EXPORTS {-1}

// The screen-wide exports take no monitor: they act on the primary one.
#define PRIMARY_ONLY(forms)                                                                    \
    forms "--monitor M: the library's export works on the primary monitor only, so\n"            \
          "--monitor 1 (the primary) is taken and any other monitor is refused (exit 2).\n"

// Where the shell draws an element inside the task bar, there is no window to hide.
#define NOT_A_WINDOW(element, more)                                                           \
    "Exit 1, changing nothing, when there is no task bar (no shell runs, or another shell),\n" \
    "or when the " element " is no window of its own: Windows 11 draws it inside the\n"        \
    "task bar." more "\n"

const Command commands[] = {
    {"monitors", "display", {{actMonitors, "[--json]"}}, NO_EXPORTS, true, "",
     "list the monitors: place, work area, primary, mode and DPI",
     "Numbered as --monitor takes them: the primary monitor is 1, the others follow in the\n"
     "order Windows lists them. Places are in pixels on the whole desktop; right and bottom\n"
     "lie just outside the monitor. A colour depth or refresh rate Windows does not give is\n"
     "\"unknown\" (null in JSON). Calls no export.\n",
     "kyctl monitors --json"},
    {"mode", "display",
     {{actMode, "[--json]"}, {actModeMonitor, "--monitor M [--json]", true},
      {actModeCheck, "check [--monitor M] [--json]"}, {actModeTemporary, "set --temporary [--monitor M]"},
      {actModePermanent, "set --permanent [--monitor M]"}},
     EXPORTS(KY(kyGetCurrentVideoMode), KY(kyCanChangeVideoMode), KY(kyChangeVideoModeTemporarily),
             KY(kyChangeVideoModePermanently)),
     true, "", "show the display mode, test or switch to 1024x768x32",
     "mode: the primary monitor's width, height, colour depth and refresh rate, as the library\n"
     "reads them. mode --monitor M: monitor M's, as kyctl monitors numbers and shows them.\n"
     "mode check: whether the display accepts 1024x768 at 32 bits (exit 1 when not).\n"
     "mode set: switch to 1024x768x32, --temporary for this session or --permanent (stored).\n"
     PRIMARY_ONLY("On check and set, "),
     "kyctl mode --json"},
    {"fullscreen", "display", {{actFullscreen, "[--monitor M]"}, {actFullscreenCancel, "cancel"}},
     EXPORTS(KY(kyFullScreen), KY(kyCancelFullScreen)), true, "",
     "switch to the 800x600x32 full-screen mode, or back to the stored mode",
     "fullscreen: the temporary 800x600x32 mode; fullscreen cancel: back to the stored mode.\n" PRIMARY_ONLY(""),
     "kyctl fullscreen cancel"},
    {"transparent", "windows", {{actTransparent, "TARGET ALPHA [--all]"}}, EXPORTS(KY(kySetWTransparent)), true, "",
     "make a window translucent (white becomes see-through)",
     "Pure white turns see-through and the rest is blended at ALPHA; the library raises\n"
     "values below 220 to 220.\n",
     "kyctl transparent --title \"Untitled - Notepad\" 230"},
    {"opaque", "windows", {{actOpaque, "TARGET [--all]"}}, EXPORTS(KY(kyRemoveWindowTrans)), true, "",
     "make a window opaque again", "", "kyctl opaque --title \"Untitled - Notepad\""},
    {"flash", "windows", {{actFlash, "TARGET [COUNT] [--all]"}}, EXPORTS(KY(kyFlashWindow)), true, "COUNT 5",
     "flash a window's caption COUNT times", "", "kyctl flash --exe notepad.exe 3"},
    {"effect", "windows",
     {{actEffect, "NUMBER TARGET [--blank black|white|none] [--all]"},
      {actEffectDesktop, "NUMBER --desktop [--monitor M] [--blank black|white|none]"}},
     EXPORTS(KY(kyWindowBmpEffect), KY(kyDesktopBmpEffect)), true, "--blank black",
     "play transition effect NUMBER on a window or the whole screen",
     "The window (or screen) is blanked and brought back with the effect;\n"
     "docs/effects/index.md shows each number. A window's effect plays on whichever monitors\n"
     "the window is on; --desktop plays on the primary monitor.\n" PRIMARY_ONLY("With --desktop, "),
     "kyctl effect 10 --title-contains notepad --blank white"},
    {"copy-effect", "windows", {{actCopyEffect, "NUMBER TARGET --from SOURCE [--all]"}},
     EXPORTS(KY(kyWindowBmpEffect2)), true, "", "draw window SOURCE into window TARGET with effect NUMBER",
     "SOURCE is a window selector like TARGET, written after --from.\n",
     "kyctl copy-effect 2 --title \"Untitled - Notepad\" --from --class CalcFrame"},
    {"erase", "windows", {{actErase, "TARGET [--all]"}}, EXPORTS(KY(kyWindowErase)), true, "",
     "sprinkle a window white", "", "kyctl erase --active"},
    {"sweep", "windows", {{actSweep, "TARGET [--all]"}}, EXPORTS(KY(kyWindowD1)), true, "",
     "sweep a window white from the left", "", "kyctl sweep --hwnd 0x1A2B"},
    {"wait", "windows",
     {{actWaitAppear, "TARGET [--timeout MS] [--json]"}, {actWaitGone, "TARGET --gone [--timeout MS] [--json]"},
      {actWaitActive, "TARGET --active [--timeout MS] [--json]"}},
     NO_EXPORTS, true, "--timeout 30000", "wait for a window to appear, to close (--gone) or to come to the front",
     "Exit 0 when it happened (the window is printed: handle, program, title; --json adds\n"
     "the class and process id), 1 when MS passed first. Here --active is the wait for the\n"
     "front, not a selector.\n",
     "kyctl wait --exe notepad.exe --timeout 5000 --json"},
    {"taskbar", "shell", {{actTaskbar, "hide|show"}}, EXPORTS(KY(kyHideTaskBar), KY(kyShowTaskBar)), true, "",
     "hide or show the task bar", "", "kyctl taskbar hide"},
    {"startbutton", "shell", {{actStartButton, "hide|show"}}, EXPORTS(KY(kyHideStartButton), KY(kyShowStartButton)),
     true, "", "hide or show the start button",
     NOT_A_WINDOW("start button", " Nor is Windows 7's round start orb a part of the task bar."),
     "kyctl startbutton hide"},
    {"trayclock", "shell", {{actTrayClock, "hide|show"}}, EXPORTS(KY(kyHideSystemClock), KY(kyShowSystemClock)),
     true, "", "hide or show the task bar clock", NOT_A_WINDOW("clock", ""), "kyctl trayclock hide"},
    {"icons", "shell", {{actIcons, "hide|show"}}, EXPORTS(KY(kyHideDesktopIcons), KY(kyShowDesktopIcons)), true, "",
     "hide or show the desktop icons", "", "kyctl icons hide"},
    {"desktopwindow", "shell", {{actDesktopWindow, "hide|show"}}, EXPORTS(KY(kyHideDesktop), KY(kyShowDesktop)),
     true, "", "hide or show the desktop window", "", "kyctl desktopwindow show"},
    {"desktop", "shell", {{actDesktopSwitch, "switch --for SECONDS"}},
     EXPORTS(KY(kyNewDesktopOn), KY(kyNewDesktopOff)), true, "",
     "show the empty alternate desktop for SECONDS",
     "Switches back when the time is up, at " KYCTL_WAY_BACK_KEYS " pressed on the alternate desktop,\n"
     "on Ctrl+C in kyctl's console and on any failure. A refused switch back is tried again\n"
     "for a few seconds; exit 1 says when it never succeeded.\n",
     "kyctl desktop switch --for 10"},
    {"capslock", "keys", {{actCapsLockState, "[--json]"}, {actCapsLockSet, "on|off|toggle"}},
     EXPORTS(KY(kySetCapsLock)), true, "", "show or set Caps Lock", "", "kyctl capslock --json"},
    {"numlock", "keys", {{actNumLockState, "[--json]"}, {actNumLockSet, "on|off|toggle"}},
     EXPORTS(KY(kySetNumLock)), true, "", "show or set Num Lock", "", "kyctl numlock toggle"},
    {"monitor", "power", {{actMonitorOff, "off"}}, EXPORTS(KY(kyMonitorOff)), true, "",
     "put the monitor into low power (a key or the mouse wakes it)", "", "kyctl monitor off"},
    {"reboot", "power", {{actReboot, "[--yes]"}}, EXPORTS(KY(kyPerformReboot)), false, "",
     "restart Windows by force (only with --yes)",
     "Without --yes it says what it would do and exits 2. No program can save its work.\n",
     "kyctl reboot --yes"},
    {"suspend", "power", {{actSuspend, "[--yes]"}}, EXPORTS(KY(kySystemPowerSuspend)), false, "",
     "put the machine to sleep (only with --yes)", "Without --yes it says what it would do and exits 2.\n",
     "kyctl suspend --yes"},
    {"hibernate", "power", {{actHibernate, "[--yes]"}}, EXPORTS(KY(kySystemPowerHibernate)), false, "",
     "hibernate the machine (only with --yes)", "Without --yes it says what it would do and exits 2.\n",
     "kyctl hibernate --yes"},
    {"cpu", "system", {{actCpu, "[--json]"}}, EXPORTS(KY(kyProcSpeed)), false, "",
     "the processor's nominal clock rate in MHz", "", "kyctl cpu --json"},
    {"disk", "system", {{actDisk, "[INDEX] [--json]"}}, EXPORTS(KY(kyHDid)), false, "",
     "model, serial number and revision of each disk found, or of disk INDEX",
     "Without INDEX: every disk that answers (none found is not an error: exit 0, and --json\n"
     "prints []). With INDEX: exit 1 when that disk does not answer. IDE disks answer the\n"
     "identify request (administrator rights); other disks answer from their storage descriptor.\n",
     "kyctl disk 0 --json"},
    {"sysdir", "system", {{actSysdir, "[--json]"}}, EXPORTS(KY(kyGetWSPath)), false, "",
     "the Windows system directory", "", "kyctl sysdir --json"},
    {"applet", "system", {{actApplet, "mouse|datetime"}}, EXPORTS(KY(kySystemDialogMP), KY(kySystemDialogTD)), true,
     "", "open the mouse or date-and-time control panel", "", "kyctl applet datetime"},
    {"serial", "serial",
     {{actSerial, "PORT [--baud RATE] [--bits BITS] [--parity none|odd|even|mark|space] [--stop 1|1.5|2] "
                  "[--send TEXT | --send-hex HEX] [--read N] [--timeout MS] [--hex] [--json]"}},
     EXPORTS(KY(ky_ComOpen), KY(ky_ComConf), KY(ky_WriteByte), KY(ky_SetComTimeouts), KY(ky_ReadByte),
             KY(ky_ClosePort)),
     false, "--baud 19200 --bits 8 --parity none --stop 1 --read 0 --timeout 1000",
     "open COM port PORT, configure it, send, read, close",
     "PORT is COM1..COM255. --timeout MS is for the whole read. TEXT is sent as UTF-8 and\n"
     "understands \\r \\n \\t \\xHH and \\\\. Received bytes are written exactly as\n"
     "they came, or as hex pairs with --hex (and in JSON). Fewer than N bytes in time, or a\n"
     "line error (framing, parity, overrun, break): what came is printed, exit 1.\n",
     "kyctl serial COM1 --baud 9600 --send \"AT\\r\" --read 4 --timeout 500"},
    {"clock", "shows", {{actClock, ""}}, EXPORTS(KY(kySoftClock)), true, "",
     "run the desktop clock until it is closed", "", "kyctl clock"},
    {"logo", "shows", {{actLogo, ""}}, EXPORTS(KY(kyLogo)), true, "",
     "run the logo show until Esc (reads ky.jpg and kydoru.jpg from the current folder)", "", "kyctl logo"},
    {"help", "help", {{actHelp, "[COMMAND]"}}, NO_EXPORTS, false, "", "this list, or one command's page", "",
     "kyctl help serial"},
};
const int commandCount = sizeof commands / sizeof commands[0];

const Command *findCommand(const char *name)
{
    for (int i = 0; i < commandCount; ++i)
        if (strcmp(commands[i].name, name) == 0)
            return &commands[i];
    return nullptr;
}

bool callsLibrary(const Request &request)
{
    if (!request.command || request.command->exports[0] < 0)
        return false;
    for (const Form &form : request.command->forms)
        if (form.action == request.action)
            return !form.withoutLibrary;
    return true;
}

// ---- help ---------------------------------------------------------------------------

namespace {

const char targetHelp[] =
    "TARGET is one of: --hwnd HANDLE (hex 0x1A2B, or decimal without a leading zero),\n"
    "--title TEXT (the exact title, case and all), --title-contains TEXT (any case),\n"
    "--class NAME (any case), --pid N (that process's main window), --exe NAME (the main\n"
    "window of a program by its file name, any case), --active (the foreground window).\n"
    "--title, --class and --exe take * and ? wildcards; --match exact takes them as they\n"
    "are. Texts are compared as Unicode: any case means as Windows upper-cases letters.\n"
    "Selectors choose among the top-level windows the user can see: visible, not cloaked\n"
    "(on another virtual desktop), not tool windows, not zero-size, and never the window\n"
    "that hosts kyctl's own console; --hwnd takes any window. Several matches: the\n"
    "topmost, or each with --all.\n";

const char exitCodes[] =
    "\nExit codes: 0 done, 1 the library or the system reported failure, 2 usage error or no\n"
    "target, 3 kydoru.dll or an export missing.\n";

bool takesWindow(const Command &command)
{
    for (const Form &form : command.forms)
        if (form.action != actNone && strstr(form.grammar, "TARGET"))
            return true;
    return false;
}

// A usage line, wrapped before 92 columns under its first word's end.
void putUsage(Text *out, const char *prefix, const Command &command, const Form &form)
{
    size_t column = strlen(prefix) + strlen(command.name) + 7;
    textFormat(out, "%skyctl %s", prefix, command.name);
    for (const char *p = form.grammar; *p;) {
        while (*p == ' ')
            ++p;
        // Keep "[--a X | --b Y]" and "--for SECONDS" whole: break only before a word
        // that starts an element.
        const char *end = p;
        int depth = 0;
        do {
            while (*end && *end != ' ') {
                depth += *end == '[' ? 1 : *end == ']' ? -1 : 0;
                ++end;
            }
            bool valueFollows = end[0] == ' ' && end[1] && end[1] != '[' && end[1] != '-' && p[0] == '-';
            if (depth == 0 && !valueFollows)
                break;
            if (*end)
                ++end;
        } while (*end);
        size_t n = static_cast<size_t>(end - p);
        if (n == 0)
            break;
        if (column + 1 + n > 92) {
            textPut(out, "\n");
            for (size_t i = 0; i < strlen(prefix) + strlen(command.name) + 7; ++i)
                textPut(out, " ");
            column = strlen(prefix) + strlen(command.name) + 7;
        } else {
            textPut(out, " ");
            ++column;
        }
        textAdd(out, p, n);
        column += n;
        p = end;
    }
    textPut(out, "\n");
}

}  // namespace

bool helpText(const char *topic, Text *out)
{
    if (topic) {
        const Command *command = findCommand(topic);
        if (!command)
            return false;
        for (const Form &form : command->forms)
            if (form.action != actNone)
                putUsage(out, form.grammar == command->forms[0].grammar ? "usage: " : "       ", *command, form);
        textFormat(out, "\n%s\n", command->summary);
        if (command->details[0]) {
            textPut(out, "\n");
            textPut(out, command->details);
        }
        if (takesWindow(*command)) {
            textPut(out, "\n");
            textPut(out, targetHelp);
        }
        char ranges[256];
        Text rangeText = textOver(ranges, sizeof ranges);
        valueRanges(*command, &rangeText);
        if (ranges[0])
            textFormat(out, "\nValues: %s\n", ranges);
        if (command->defaults[0])
            textFormat(out, "%sDefaults: %s\n", ranges[0] ? "" : "\n", command->defaults);
        textFormat(out, "\nExample: %s\n", command->example);
        textPut(out, exitCodes);
        return true;
    }
    textPut(out, "usage: kyctl [--json] COMMAND [ARGUMENTS]   (kyctl help COMMAND, kyctl --version [--json])\n");
    const char *group = "";
    for (int i = 0; i < commandCount; ++i) {
        if (strcmp(group, commands[i].group) != 0) {
            group = commands[i].group;
            textFormat(out, "\n%s\n", group);
        }
        textFormat(out, "  %s", commands[i].name);
        for (size_t n = strlen(commands[i].name); n < 14; ++n)
            textPut(out, " ");
        textFormat(out, "%s\n", commands[i].summary);
    }
    textPut(out, exitCodes);
    return true;
}

}  // namespace kyctl
