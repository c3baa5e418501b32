// The command table: what `kyctl help` lists and `kyctl help COMMAND` explains. Each usage
// line is also the parser's grammar for that form, written as people read it.
#include <stdio.h>
#include <string.h>

#include "cli.h"

namespace kyctl {

#define TARGET_HELP                                                                          \
    "TARGET is one of: --hwnd HANDLE (hex 0x1A2B or decimal), --title \"exact title\",\n" \
    "--title-contains TEXT (any case), --class NAME, --pid N (that process's main visible\n" \
    "window), --active (the foreground window). Titles, classes and processes choose among\n"  \
    "visible top-level windows; several matches: the topmost, or each with --all.\n"

const Command commands[] = {
    {"mode", "display",
     "kyctl mode [--json]\nkyctl mode check [--json]\nkyctl mode set --temporary|--permanent",
     "show the display mode, test or switch to 1024x768x32",
     "mode: the primary screen's width, height, colour depth and refresh rate.\n"
     "mode check: whether the display accepts 1024x768 at 32 bits (exit 1 when not).\n"
     "mode set: switch to 1024x768x32, --temporary for this session or --permanent (stored).\n"},
    {"fullscreen", "display", "kyctl fullscreen\nkyctl fullscreen cancel",
     "switch to the 800x600x32 full-screen mode, or back to the stored mode",
     "fullscreen: the temporary 800x600x32 mode; fullscreen cancel: back to the stored mode.\n"},
    {"transparent", "windows", "kyctl transparent TARGET ALPHA [--all]",
     "make a window translucent (ALPHA 0..255; white becomes see-through)",
     "Pure white turns see-through and the rest is blended at ALPHA; the library raises\n"
     "values below 220 to 220.\n" TARGET_HELP},
    {"opaque", "windows", "kyctl opaque TARGET [--all]", "make a window opaque again", TARGET_HELP},
    {"flash", "windows", "kyctl flash TARGET [COUNT] [--all]", "flash a window's caption COUNT times (1..1000, default 5)",
     TARGET_HELP},
    {"effect", "windows", "kyctl effect NUMBER TARGET [--blank black|white|none] [--all]\nkyctl effect NUMBER --desktop [--blank black|white|none]",
     "play transition effect NUMBER (0..21) on a window or the whole screen",
     "The window (or screen) is blanked (--blank, default black) and brought back with the\n"
     "effect; docs/effects/index.md shows each number.\n" TARGET_HELP},
    {"copy-effect", "windows", "kyctl copy-effect NUMBER TARGET --from SOURCE [--all]",
     "draw window SOURCE into window TARGET with effect NUMBER",
     "SOURCE is a window selector like TARGET, written after --from.\n" TARGET_HELP},
    {"erase", "windows", "kyctl erase TARGET [--all]", "sprinkle a window white", TARGET_HELP},
    {"sweep", "windows", "kyctl sweep TARGET [--all]", "sweep a window white from the left", TARGET_HELP},
    {"taskbar", "shell", "kyctl taskbar hide|show", "hide or show the task bar", ""},
    {"startbutton", "shell", "kyctl startbutton hide|show", "hide or show the start button", ""},
    {"trayclock", "shell", "kyctl trayclock hide|show", "hide or show the task bar clock",
     "Exit 1 when there is no task bar clock.\n"},
    {"icons", "shell", "kyctl icons hide|show", "hide or show the desktop icons", ""},
    {"desktopwindow", "shell", "kyctl desktopwindow hide|show", "hide or show the desktop window", ""},
    {"desktop", "shell", "kyctl desktop switch --for SECONDS",
     "show the empty alternate desktop for SECONDS (1..3600)",
     "Switches back when the time is up, on Ctrl+C and on any failure.\n"},
    {"capslock", "keys", "kyctl capslock [--json]\nkyctl capslock on|off|toggle", "show or set Caps Lock", ""},
    {"numlock", "keys", "kyctl numlock [--json]\nkyctl numlock on|off|toggle", "show or set Num Lock", ""},
    {"monitor", "power", "kyctl monitor off", "put the monitor into low power (a key or the mouse wakes it)", ""},
    {"reboot", "power", "kyctl reboot --yes", "restart Windows by force (only with --yes)",
     "Without --yes it says what it would do and exits 2. No program can save its work.\n"},
    {"suspend", "power", "kyctl suspend --yes", "put the machine to sleep (only with --yes)",
     "Without --yes it says what it would do and exits 2.\n"},
    {"hibernate", "power", "kyctl hibernate --yes", "hibernate the machine (only with --yes)",
     "Without --yes it says what it would do and exits 2.\n"},
    {"cpu", "system", "kyctl cpu [--json]", "the processor's nominal clock rate in MHz", ""},
    {"disk", "system", "kyctl disk [INDEX] [--json]",
     "model, serial number and revision of each disk found, or of disk INDEX (0..3)",
     "Without INDEX: every disk that answers (none found is not an error: exit 0, and --json\n"
     "prints []). With INDEX: exit 1 when that disk does not answer. IDE disks answer the\n"
     "identify request (administrator rights); other disks answer from their storage descriptor.\n"},
    {"sysdir", "system", "kyctl sysdir [--json]", "the Windows system directory", ""},
    {"applet", "system", "kyctl applet mouse|datetime", "open the mouse or date-and-time control panel", ""},
    {"serial", "serial",
     "kyctl serial PORT [--baud N] [--bits N] [--parity none|odd|even|mark|space] [--stop 1|1.5|2]\n"
     "             [--send TEXT | --send-hex HEX] [--read N] [--timeout MS] [--hex] [--json]",
     "open COM port PORT, configure it, send, read, close",
     "PORT is COM1..COM255. Defaults: 19200 baud, 8 bits, no parity, 1 stop bit, --read 0,\n"
     "--timeout 1000 (ms, for the whole read, 1..600000). Received bytes are printed as text,\n"
     "or as hex pairs with --hex. Fewer than N bytes in time: what came is printed, exit 1.\n"},
    {"clock", "shows", "kyctl clock", "run the desktop clock until it is closed", ""},
    {"logo", "shows", "kyctl logo", "run the logo show until Esc (reads ky.jpg and kydoru.jpg from the current folder)", ""},
    {"help", "help", "kyctl help [COMMAND]", "this list, or one command's page", ""},
};
const int commandCount = sizeof commands / sizeof commands[0];

const Command *findCommand(const char *name)
{
    for (int i = 0; i < commandCount; ++i)
        if (strcmp(commands[i].name, name) == 0)
            return &commands[i];
    return nullptr;
}

namespace {

struct Out {
    char *text;
    size_t size, used;
};

void put(Out *out, const char *format, const char *a = "", const char *b = "")
{
    if (out->used >= out->size)
        return;
    int n = snprintf(out->text + out->used, out->size - out->used, format, a, b);
    if (n > 0)
        out->used += static_cast<size_t>(n) < out->size - out->used ? static_cast<size_t>(n) : out->size - out->used - 1;
}

}  // namespace

bool helpText(const char *topic, char *text, size_t size)
{
    Out out = {text, size, 0};
    text[0] = '\0';
    if (topic) {
        const Command *command = findCommand(topic);
        if (!command)
            return false;
        put(&out, "usage: %s\n\n%s\n", command->usage, command->summary);
        if (command->details[0])
            put(&out, "\n%s", command->details);
        put(&out, "\nExit codes: 0 done, 1 the library reported failure, 2 usage error or no target, 3 kydoru.dll or an export missing.\n");
        return true;
    }
    put(&out, "usage: kyctl [--json] COMMAND [ARGUMENTS]   (kyctl help COMMAND, kyctl --version)\n");
    const char *group = "";
    for (int i = 0; i < commandCount; ++i) {
        if (strcmp(group, commands[i].group) != 0) {
            group = commands[i].group;
            put(&out, "\n%s\n", group);
        }
        put(&out, "  %-14s%s\n", commands[i].name, commands[i].summary);
    }
    put(&out, "\nExit codes: 0 done, 1 the library reported failure, 2 usage error or no target, 3 kydoru.dll or an export missing.\n");
    return true;
}

}  // namespace kyctl
