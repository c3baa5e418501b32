// Every command, in each of its forms, proven through the recording stand-in DLL: the
// exports it calls, in order, with exactly the arguments it passes, its exit code and,
// where it reports, what it prints. One table of literal expectations.
#include "kytest.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../../kyctl/cli.h"
#include "child.h"
#include "shell/shellwindows.h"
#include "standinshells.h"

namespace {

using kyctltest::Result;

// $W and $S stand for the target and source windows' handles, $CAPS and $NUM for the
// lock state a toggle asks for (the opposite of what the test's desktop shows); in the
// calls, * stands for a value that depends on time (the serial read's time left).
struct Proof {
    const char *line;    // kyctl's arguments
    const char *script;  // the stand-in's script.txt
    const char *calls;   // the calls, one per line
    DWORD exit;
    const char *out;  // stdout exactly, when not null
    const char *err;  // a part of stderr, when not null
    const char *shell = nullptr;  // the stand-in shell the test puts up (standinshells.h)
};

const char serialDefaults[] = "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(19200, 8, 0, 0, 0)\n";

const Proof proofs[] = {
    // display
    {"mode", "", "kyGetCurrentVideoMode(&, &, &, &)", 0, "0x0, 0 bits per pixel, default refresh rate\r\n", nullptr},
    {"mode --json", "kyGetCurrentVideoMode 0!8", "kyGetCurrentVideoMode(&, &, &, &)", 1, "",
     "kyGetCurrentVideoMode: no screen device context: "},
    {"mode check --json", "kyCanChangeVideoMode 0", "kyCanChangeVideoMode()", 0,
     "{\"mode\":\"1024x768x32\",\"accepted\":true,\"code\":0}\r\n", nullptr},
    {"mode check", "kyCanChangeVideoMode -2", "kyCanChangeVideoMode()", 1, "1024x768x32 refused\r\n",
     "(DISP_CHANGE_BADMODE, -2)"},
    {"mode set --temporary", "kyChangeVideoModeTemporarily 0", "kyChangeVideoModeTemporarily()", 0, "", nullptr},
    {"mode set --permanent", "kyChangeVideoModePermanently 1", "kyChangeVideoModePermanently()", 0, "",
     "takes effect after a restart"},
    {"fullscreen", "kyFullScreen 0", "kyFullScreen()", 0, "", nullptr},
    {"fullscreen cancel", "kyCancelFullScreen -1", "kyCancelFullScreen()", 0, "", nullptr},
    // monitors: read from Windows, no export; --monitor 1 (the primary) takes the same calls.
    // The test display is one monitor, 1024 x 768, whose refresh rate Wine gives as 0.
    {"monitors --json", "", "", 0, nullptr, nullptr},  // the listing's text: twoMonitorProofs
    {"mode --monitor 1 --json", "", "", 0, "{\"width\":1024,\"height\":768,\"bitsPerPixel\":32,\"refreshRate\":0}\r\n",
     nullptr},
    {"mode --monitor 2", "", "", 2, "", "kyctl: mode --monitor 2: there is 1 monitor (kyctl monitors lists them)\r\n"},
    {"mode check --monitor 1", "kyCanChangeVideoMode 0", "kyCanChangeVideoMode()", 0, "1024x768x32 accepted\r\n",
     nullptr},
    {"fullscreen --monitor 2", "", "", 2, "", "fullscreen --monitor 2: there is 1 monitor"},
    // windows
    {"transparent --hwnd $W 230", "", "kySetWTransparent($W, 230)", 0, "", nullptr},
    {"transparent --title \"kyctl calls target\" 0", "", "kySetWTransparent($W, 0)", 0, "", nullptr},
    {"opaque --class kyctlCallsSource", "", "kyRemoveWindowTrans($S)", 0, "", nullptr},
    {"flash --hwnd $W 1000", "", "kyFlashWindow($W, 1000)", 0, "", nullptr},
    {"effect 21 --hwnd $W --blank black", "", "kyWindowBmpEffect($W, 21, 1)", 0, "", nullptr},
    {"effect 3 --hwnd $W --blank white", "", "kyWindowBmpEffect($W, 3, 2)", 0, "", nullptr},
    {"effect 4 --hwnd $W --blank none", "", "kyWindowBmpEffect($W, 4, 0)", 0, "", nullptr},
    {"effect 7 --desktop", "", "kyDesktopBmpEffect(7, 1)", 0, "", nullptr},
    {"effect 8 --desktop --blank white", "", "kyDesktopBmpEffect(8, 2)", 0, "", nullptr},
    {"effect 9 --desktop --blank none", "", "kyDesktopBmpEffect(9, 0)", 0, "", nullptr},
    {"copy-effect 14 --hwnd $W --from --hwnd $S", "", "kyWindowBmpEffect2($W, $S, 14)", 0, "", nullptr},
    {"erase --hwnd $W", "", "kyWindowErase($W)", 0, "", nullptr},
    {"sweep --hwnd $W", "", "kyWindowD1($W)", 0, "", nullptr},
    {"wait --title \"kyctl calls target\" --json", "", "", 0, nullptr, nullptr},
    {"wait --hwnd $W --gone --timeout 100", "", "", 1, "", "timed out after 100 ms waiting for it to close"},
    // shell: ShowWindow's "was visible" is no verdict, so 0 is not a failure
    {"taskbar hide", "kyHideTaskBar 0", "kyHideTaskBar()", 0, "", nullptr},
    {"taskbar show", "kyShowTaskBar 0", "kyShowTaskBar()", 0, "", nullptr},
    {"startbutton hide", "kyHideStartButton 0", "kyHideStartButton()", 0, "", nullptr, "Windows 10"},
    {"startbutton show", "", "kyShowStartButton()", 0, "", nullptr, "Windows 10"},
    {"trayclock hide", "", "kyHideSystemClock()", 0, "", nullptr, "Windows 10"},
    {"trayclock show", "kyShowSystemClock 0", "kyShowSystemClock()", 1, "",
     "kyShowSystemClock: the task bar clock could not be redrawn", "Windows 10"},
    // where an element has no window of its own, nothing is called and kyctl says why
    {"startbutton hide", "", "", 1, "",
     "kyctl: startbutton: the start button is no window of its own on this Windows (Windows 11 draws it inside the "
     "task bar, and Windows 7's round start orb is no part of the task bar); nothing was hidden\r\n",
     "Windows 11"},
    {"trayclock show", "", "", 1, "",
     "kyctl: trayclock: the task bar clock is no window of its own on this Windows (Windows 11 draws it inside the "
     "task bar); nothing was shown\r\n",
     "Windows 11"},

    {"icons hide", "kyHideDesktopIcons 0", "kyHideDesktopIcons()", 0, "", nullptr},
    {"icons show", "kyShowDesktopIcons 0", "kyShowDesktopIcons()", 0, "", nullptr},
    {"desktopwindow hide", "", "kyHideDesktop()", 0, "", nullptr},
    {"desktopwindow show", "", "kyShowDesktop()", 0, "", nullptr},
    {"desktop switch --for 1", "", "kyNewDesktopOn()\nkyNewDesktopOff()", 0, "", KYCTL_WAY_BACK_KEYS},
    {"desktop switch --for 1", "kyNewDesktopOff 0 0", "kyNewDesktopOn()\nkyNewDesktopOff()\nkyNewDesktopOff()\n"
     "kyNewDesktopOff()", 0, "", "back on the user's desktop at the kyNewDesktopOff's try 3"},
    {"desktop switch --for 1", "kyNewDesktopOff 0 0 0 0 0 0 0 0 0 0!5",
     "kyNewDesktopOn()\nkyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()\n"
     "kyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()\nkyNewDesktopOff()",
     1, "", "still on the alternate desktop after 10 tries over 4500 ms"},
    {"desktop switch --for 1", "kyNewDesktopOn 0", "kyNewDesktopOn()\nkyNewDesktopOff()", 1, "",
     "kyNewDesktopOn: the alternate desktop could not be shown"},
    // keys
    {"capslock on", "", "kySetCapsLock(1)", 0, "", nullptr},
    {"capslock off", "", "kySetCapsLock(0)", 0, "", nullptr},
    {"capslock toggle", "", "kySetCapsLock($CAPS)", 0, "", nullptr},
    {"numlock on", "", "kySetNumLock(1)", 0, "", nullptr},
    {"numlock off", "", "kySetNumLock(0)", 0, "", nullptr},
    {"numlock toggle", "", "kySetNumLock($NUM)", 0, "", nullptr},
    {"numlock --json", "", "", 0, nullptr, nullptr},
    {"capslock --json", "", "", 0, nullptr, nullptr},
    // power
    {"monitor off", "", "kyMonitorOff()", 0, "", nullptr},
    {"reboot --yes", "", "kyPerformReboot()", 0, "", nullptr},
    {"suspend --yes", "", "kySystemPowerSuspend()", 0, "", nullptr},
    {"hibernate --yes", "", "kySystemPowerHibernate()", 0, "", nullptr},
    {"reboot", "", "", 2, "", "would restart Windows by force"},
    // a failure with no error of its own names none, though an older one is waiting
    {"reboot --yes", "kyPerformReboot 0", "kyPerformReboot()", 1, "", "kyPerformReboot: the restart was refused\r\n"},
    // system
    {"cpu --json", "kyProcSpeed 2400", "kyProcSpeed()", 0, "{\"mhz\":2400}\r\n", nullptr},
    {"cpu", "kyProcSpeed 0", "kyProcSpeed()", 1, "", "not recorded"},
    {"disk", "",
     "kyHDid(0, 1, &)\nkyHDid(0, 2, &)\nkyHDid(0, 3, &)\nkyHDid(1, 1, &)\nkyHDid(1, 2, &)\nkyHDid(1, 3, &)\n"
     "kyHDid(2, 1, &)\nkyHDid(2, 2, &)\nkyHDid(2, 3, &)\nkyHDid(3, 1, &)\nkyHDid(3, 2, &)\nkyHDid(3, 3, &)",
     0, nullptr, nullptr},
    {"disk --json", "kyHDid 0 0 0 0", "kyHDid(0, 1, &)\nkyHDid(1, 1, &)\nkyHDid(2, 1, &)\nkyHDid(3, 1, &)", 0,
     "[]\r\n", nullptr},
    // the ANSI export's text (cp1252 "Modèl", "é") reaches JSON as UTF-8
    {"disk 2 --json", "kyHDid 1=4d6f64e86c 1=e9 1=31", "kyHDid(2, 1, &)\nkyHDid(2, 2, &)\nkyHDid(2, 3, &)", 0,
     "[{\"index\":2,\"model\":\"Modèl\",\"serial\":\"é\",\"revision\":\"1\"}]\r\n", nullptr},
    {"sysdir --json", "kyGetWSPath =433a5cc45c", "kyGetWSPath(&)", 0, "{\"path\":\"C:\\\\Ä\\\\\"}\r\n", nullptr},
    {"sysdir", "", "kyGetWSPath(&)", 1, "", "could not be had"},
    {"applet mouse", "kySystemDialogMP 42", "kySystemDialogMP()", 0, "", nullptr},
    {"applet datetime", "kySystemDialogTD 2", "kySystemDialogTD()", 1, "", "(ShellExecute code 2)"},
    // serial
    {"serial COM7", "", "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(19200, 8, 0, 0, 0)\nky_ClosePort()", 0, "", nullptr},
    {"serial com7 --baud 9600 --bits 7 --parity even --stop 2", "",
     "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(9600, 7, 1, 2, 2)\nky_ClosePort()", 0, "", nullptr},
    {"serial COM7 --parity odd --stop 1.5", "",
     "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(19200, 8, 1, 1, 1)\nky_ClosePort()", 0, "", nullptr},
    {"serial COM7 --parity mark --stop 1", "",
     "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(19200, 8, 1, 3, 0)\nky_ClosePort()", 0, "", nullptr},
    {"serial COM7 --parity space --baud 115200", "",
     "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(115200, 8, 1, 4, 0)\nky_ClosePort()", 0, "", nullptr},
    {"serial COM7 --send \"AT\\r\\n\"", "",
     "$SERIALky_WriteByte(0x41)\nky_WriteByte(0x54)\nky_WriteByte(0x0D)\nky_WriteByte(0x0A)\nky_ClosePort()", 0, "",
     nullptr},
    {"serial COM7 --send \"\\t\\\\\\x00\\xFF\"", "",
     "$SERIALky_WriteByte(0x09)\nky_WriteByte(0x5C)\nky_WriteByte(0x00)\nky_WriteByte(0xFF)\nky_ClosePort()", 0, "",
     nullptr},
    {"serial COM7 --send-hex \"00 ff\"", "", "$SERIALky_WriteByte(0x00)\nky_WriteByte(0xFF)\nky_ClosePort()", 0, "",
     nullptr},
    // received bytes leave as they came: no CR added before LF
    {"serial COM7 --read 2 --timeout 5000", "ky_ReadByte 1=61 1=0a",
     "$SERIALky_SetComTimeouts(0, 0, *, 60, 100)\nky_ReadByte(&)\nky_SetComTimeouts(0, 0, *, 60, 100)\n"
     "ky_ReadByte(&)\nky_ClosePort()",
     0, "a\n", nullptr},
    {"serial COM7 --read 2 --json", "ky_ReadByte 1=00 1=ff",
     "$SERIALky_SetComTimeouts(0, 0, *, 60, 100)\nky_ReadByte(&)\nky_SetComTimeouts(0, 0, *, 60, 100)\n"
     "ky_ReadByte(&)\nky_ClosePort()",
     0, "{\"port\":\"COM7\",\"sent\":0,\"receivedHex\":\"00 ff\"}\r\n", nullptr},
    {"serial COM7 --read 3 --hex", "ky_ReadByte 1=0d 0",
     "$SERIALky_SetComTimeouts(0, 0, *, 60, 100)\nky_ReadByte(&)\nky_SetComTimeouts(0, 0, *, 60, 100)\n"
     "ky_ReadByte(&)\nky_ClosePort()",
     1, "0d\r\n", "ky_ReadByte: 1 of 3 bytes arrived within 1000 ms"},
    // a line error stops the read at once and is named (the port's own words when it can't tell)
    {"serial COM7 --read 5 --timeout 60000", "ky_ReadByte 1=61 0!995",
     "$SERIALky_SetComTimeouts(0, 0, *, 60, 100)\nky_ReadByte(&)\nky_SetComTimeouts(0, 0, *, 60, 100)\n"
     "ky_ReadByte(&)\nky_ClosePort()",
     1, "a", "ky_ReadByte: the read stopped at a line error after 1 of 5 bytes: "},
    {"serial COM9", "ky_ComOpen 0!2", "ky_ComOpen(\"\\\\.\\COM9\")", 2, "", "serial: there is no port COM9"},
    {"serial COM7 --send x", "ky_ComOpen 1!87\nky_ComConf 0", "ky_ComOpen(\"\\\\.\\COM7\")\nky_ComConf(19200, 8, 0, 0, 0)\n"
     "ky_ClosePort()", 1, "", "kyctl: ky_ComConf: COM7 refused 19200 baud, 8 bits, parity 0, stop bits 0\r\n"},
    {"serial COM7 --send xy", "ky_WriteByte 1 0!31", "$SERIALky_WriteByte(0x78)\nky_WriteByte(0x79)\nky_ClosePort()", 1,
     "", "ky_WriteByte: byte 2 of 2 was not sent: "},
    // shows and help
    {"clock", "", "kySoftClock()", 0, "", nullptr},
    {"logo", "", "kyLogo()", 0, "", nullptr},
    {"logo", "kyLogo -1", "kyLogo()", 1, "", "window class could not be registered"},
    {"help taskbar", "", "", 0, nullptr, nullptr},
};

std::string replaced(std::string text, const char *name, const std::string &value)
{
    for (size_t at; (at = text.find(name)) != std::string::npos;)
        text.replace(at, strlen(name), value);
    return text;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

// One recorded call against one expected: literal but for a time-dependent "*" argument.
bool sameCall(const std::string &expected, const std::string &seen)
{
    size_t star = expected.find('*');
    if (star == std::string::npos)
        return expected == seen;
    std::string before = expected.substr(0, star), after = expected.substr(star + 1);
    return seen.size() > before.size() + after.size() && seen.compare(0, before.size(), before) == 0 &&
           seen.compare(seen.size() - after.size(), after.size(), after) == 0 &&
           seen.find_first_not_of("0123456789", before.size()) == seen.size() - after.size();
}

std::string exportName(const std::string &call)
{
    return call.substr(0, call.find('('));
}

// The values a row's $ names stand for.
struct Stand {
    HWND target, source;
    std::string capsToggled, numToggled;
};

// A row's text with its $ names replaced.
std::string expanded(const char *text, const Stand &stand)
{
    std::string out = replaced(text, "$SERIAL", serialDefaults);
    out = replaced(replaced(out, "$W", kyctltest::handleText(stand.target)), "$S", kyctltest::handleText(stand.source));
    return replaced(replaced(out, "$CAPS", stand.capsToggled), "$NUM", stand.numToggled);
}

// Runs one row in `folder` beside the recording stand-in and checks it; returns the calls
// recorded.
std::vector<std::string> prove(const std::string &folder, const Proof &p, const Stand &stand)
{
    std::string line = expanded(p.line, stand), calls = expanded(p.calls, stand);
    std::unique_ptr<kytest::StandInShell> shell;
    if (p.shell) {
        const kytest::ShellStructure *structure = kytest::shellStructure(p.shell);
        EXPECT_NE(structure, nullptr) << line << ": " << p.shell;
        if (!structure)
            return {};
        shell.reset(new kytest::StandInShell(*structure));
        EXPECT_EQ(findTaskBar(), (*shell)["bar"]) << line << ": the stand-in's task bar is the one found";
    }
    DeleteFileA((folder + "calls.log").c_str());
    EXPECT_TRUE(kyctltest::writeAll(folder + "script.txt", p.script));
    Result r = kyctltest::runIn(folder, line);
    EXPECT_TRUE(r.finished) << line;
    EXPECT_EQ(r.code, p.exit) << line << ": " << r.err;
    std::vector<std::string> seen = linesOf(kyctltest::readAll(folder + "calls.log")), wanted = linesOf(calls);
    bool same = seen.size() == wanted.size();
    for (size_t i = 0; same && i < seen.size(); ++i)
        same = sameCall(wanted[i], seen[i]);
    EXPECT_TRUE(same) << line << "\nexpected:\n" << calls << "\nrecorded:\n" << kyctltest::readAll(folder + "calls.log");
    // The ANSI texts' expected UTF-8 is that of code page 1252 (the test prefix's).
    bool ascii = p.out && std::all_of(p.out, p.out + strlen(p.out), [](char c) { return (c & 0x80) == 0; });
    if (p.out && (ascii || GetACP() == 1252)) {
        EXPECT_EQ(r.out, p.out) << line;
    }
    if (p.err) {
        EXPECT_NE(r.err.find(p.err), std::string::npos) << line << ": " << r.err;
    }
    EXPECT_TRUE(kyctltest::isUtf8(r.out) && kyctltest::isUtf8(r.err)) << line;
    return seen;
}

TEST(KyctlCalls, EveryCommandCallsExactlyItsExports)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = kyctltest::folderWith("kyctl_calls", "kyctl_fake_full");
    Stand stand;
    stand.source = kyctltest::testWindow("kyctl calls source", "kyctlCallsSource");
    stand.target = kyctltest::testWindow("kyctl calls target", "kyctlCallsTarget");
    SetForegroundWindow(stand.target);
    kytest::pumpMessages(100);
    // The state the user sees, as kyctl reads it: a toggle asks for the other one.
    stand.capsToggled = (GetKeyState(VK_CAPITAL) & 1) ? "0" : "1";
    stand.numToggled = (GetKeyState(VK_NUMLOCK) & 1) ? "0" : "1";
    std::set<std::string> commandsProven, exportsProven, reportsProven;
    for (const Proof &p : proofs) {
        std::vector<std::string> seen = prove(folder, p, stand);

        // Each call is one the command's row names, and the row of every command is proven.
        static kyctl::Request request;
        ASSERT_TRUE(kyctltest::parseLine("kyctl " + expanded(p.line, stand), &request).ok) << p.line;
        commandsProven.insert(request.command->name);
        if (request.json)
            reportsProven.insert(request.command->name);
        for (const std::string &call : seen) {
            bool listed = false;
            for (int i = 0; i < kyctl::maxCommandExports && request.command->exports[i] >= 0; ++i)
                listed = listed || exportName(call) == kydoruExportNames[request.command->exports[i]];
            EXPECT_TRUE(listed) << p.line << ": " << call << " is not in the row of " << request.command->name;
            exportsProven.insert(exportName(call));
        }
    }
    for (int i = 0; i < kyctl::commandCount; ++i) {
        const kyctl::Command &c = kyctl::commands[i];
        EXPECT_TRUE(commandsProven.count(c.name)) << c.name << " has no row here";
        for (int e = 0; e < kyctl::maxCommandExports && c.exports[e] >= 0; ++e)
            EXPECT_TRUE(exportsProven.count(kydoruExportNames[c.exports[e]]))
                << c.name << ": no row proves " << kydoruExportNames[c.exports[e]];
        bool reports = false;
        for (const kyctl::Form &form : c.forms)
            reports = reports || (form.action != kyctl::actNone && kyctl::formReports(form));
        EXPECT_EQ(reports, reportsProven.count(c.name) == 1) << c.name << ": every report is proven as JSON";
    }
    DestroyWindow(stand.target);
    DestroyWindow(stand.source);
}

// On the display with two monitors side by side (testenv.sh two-monitors): the listing
// with literal places, the second monitor's mode, and --monitor on the screen-wide
// commands, whose exports act on the primary monitor only.
const Proof twoMonitorProofs[] = {
    {"monitors --json", "", "", 0,
     "[{\"index\":1,\"device\":\"\\\\\\\\.\\\\DISPLAY1\",\"primary\":true,"
     "\"rectangle\":{\"left\":0,\"top\":0,\"right\":1024,\"bottom\":768},"
     "\"workArea\":{\"left\":0,\"top\":0,\"right\":1024,\"bottom\":768},"
     "\"mode\":{\"width\":1024,\"height\":768,\"bitsPerPixel\":32,\"refreshRate\":60},\"dpi\":96},"
     "{\"index\":2,\"device\":\"\\\\\\\\.\\\\DISPLAY2\",\"primary\":false,"
     "\"rectangle\":{\"left\":1024,\"top\":0,\"right\":1824,\"bottom\":600},"
     "\"workArea\":{\"left\":1024,\"top\":0,\"right\":1824,\"bottom\":600},"
     "\"mode\":{\"width\":800,\"height\":600,\"bitsPerPixel\":null,\"refreshRate\":null},\"dpi\":96}]\r\n",
     nullptr},
    {"monitors", "", "", 0,
     "monitor 1 (primary)\r\n  device     \\\\.\\DISPLAY1\r\n  rectangle  (0,0)-(1024,768)\r\n"
     "  work area  (0,0)-(1024,768)\r\n  mode       1024x768, 32 bits per pixel, 60 Hz\r\n  dpi        96\r\n"
     "monitor 2\r\n  device     \\\\.\\DISPLAY2\r\n  rectangle  (1024,0)-(1824,600)\r\n"
     "  work area  (1024,0)-(1824,600)\r\n  mode       800x600, colour depth and refresh rate unknown\r\n"
     "  dpi        96\r\n",
     nullptr},
    {"mode --monitor 2 --json", "", "", 0, "{\"width\":800,\"height\":600,\"bitsPerPixel\":null,\"refreshRate\":null}\r\n",
     nullptr},
    {"mode --monitor 2", "", "", 0, "800x600, colour depth and refresh rate unknown\r\n", nullptr},
    {"mode --monitor 3", "", "", 2, "", "kyctl: mode --monitor 3: there are 2 monitors (kyctl monitors lists them)\r\n"},
    {"fullscreen --monitor 1", "kyFullScreen 0", "kyFullScreen()", 0, "", nullptr},
    {"fullscreen --monitor 2", "", "", 2, "",
     "kyctl: fullscreen --monitor 2: kyFullScreen works on the primary monitor only (monitor 1); nothing was "
     "changed\r\n"},
    {"effect 5 --desktop --monitor 2", "", "", 2, "", "kyDesktopBmpEffect works on the primary monitor only"},
    {"mode set --temporary --monitor 2", "", "", 2, "", "kyChangeVideoModeTemporarily works on the primary"},
    {"mode set --permanent --monitor 2", "", "", 2, "", "kyChangeVideoModePermanently works on the primary"},
    {"mode check --monitor 2 --json", "", "", 2, "", "kyCanChangeVideoMode works on the primary"},
};

TEST(KyctlTwoMonitors, MonitorsAreListedAndOnlyThePrimaryIsTakenForTheExports)
{
    if (!kytest::onTwoMonitorDisplay())
        GTEST_SKIP() << "needs the display with two monitors side by side (testenv.sh two-monitors)";
    std::string folder = kyctltest::folderWith("kyctl_two_monitors", "kyctl_fake_full");
    for (const Proof &p : twoMonitorProofs)
        prove(folder, p, Stand());
}

}  // namespace
