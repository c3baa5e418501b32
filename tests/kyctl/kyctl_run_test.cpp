// kyctl.exe run as a child process, as a script runs it: what it did is checked from
// outside (the test window's layered attributes and style, the key state, the far end
// of a serial line), with its exit code and its output.
#include "kytest.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "child.h"

namespace {

using kyctltest::handleText;
using kyctltest::Result;
using kyctltest::run;
using kyctltest::runIn;
using kyctltest::testWindow;

std::string titleOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Layered {
    bool layered;
    COLORREF key;
    BYTE alpha;
    DWORD flags;
};

Layered layeredOf(HWND window)
{
    Layered seen = {(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0, 0, 0, 0};
    if (seen.layered)
        GetLayeredWindowAttributes(window, &seen.key, &seen.alpha, &seen.flags);
    return seen;
}

TEST(KyctlRun, ModeJsonIsTheScreensMode)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    Result r = run("mode --json");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.code, 0u) << r.err;
    // The private X server's screen is 1024 x 768; the depth as this process sees it.
    HDC screen = GetDC(NULL);
    int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(NULL, screen);
    char prefix[96];
    snprintf(prefix, sizeof prefix, "{\"width\":1024,\"height\":768,\"bitsPerPixel\":%d,\"refreshRate\":", depth);
    EXPECT_EQ(r.out.rfind(prefix, 0), 0u) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 3), "}\r\n") << r.out;
    EXPECT_EQ(r.err, "");
}

TEST(KyctlRun, TransparentLayersTheWindowByHandle)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND window = testWindow("kyctl transparent target");
    Result r = run("transparent --hwnd " + handleText(window) + " 230");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(r.out, "") << "nothing to report";
    Layered seen = layeredOf(window);
    EXPECT_TRUE(seen.layered);
    EXPECT_EQ(seen.alpha, 230);
    EXPECT_EQ(seen.key, RGB(255, 255, 255));
    EXPECT_EQ(seen.flags, DWORD(LWA_ALPHA | LWA_COLORKEY));

    if (!kytest::is32Bit()) {
        r = run("opaque --hwnd " + handleText(window));
        EXPECT_EQ(r.code, 0u) << r.err;
        EXPECT_FALSE(layeredOf(window).layered) << "opaque removes the layered style";
    }
    DestroyWindow(window);
}

std::string programFileName()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return strrchr(path, '\\') + 1;
}

// Each selector finds the window it names (a decoy with a near title stays untouched);
// several matches: the topmost, or each of them with --all.
TEST(KyctlRun, EachSelectorFindsItsWindow)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND decoy = testWindow("kyctl selector decoy", "kyctlTestDecoy");
    HWND window = testWindow("kyctl Selector Target", "kyctlTestSelector");
    std::string exe = programFileName();
    std::string exeUpper = exe;
    CharUpperBuffA(&exeUpper[0], static_cast<DWORD>(exeUpper.size()));
    struct Case {
        std::string selector;
        int alpha;
    };
    const Case cases[] = {
        {"--hwnd " + handleText(window), 221},
        {"--hwnd " + std::to_string(reinterpret_cast<UINT_PTR>(window)), 222},
        {"--title \"kyctl Selector Target\"", 223},
        {"--title-contains \"SELECTOR TAR\"", 224},
        {"--class kyctlTestSelector", 225},
        {"--pid " + std::to_string(GetCurrentProcessId()), 226},
        {"--active", 227},
        {"--exe " + exeUpper, 228},
        {"--exe \"" + exe.substr(0, 3) + "*.?XE\"", 229},
        {"--title \"kyctl S*T?rget\"", 230},
        {"--class \"KYCTLTEST?ELECTOR\"", 231},
    };
    for (const Case &c : cases) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(window);
        kytest::pumpMessages(50);
        Result r = run("transparent " + c.selector + " " + std::to_string(c.alpha));
        EXPECT_EQ(r.code, 0u) << c.selector << ": " << r.err;
        EXPECT_EQ(layeredOf(window).alpha, c.alpha) << c.selector;
        EXPECT_FALSE(layeredOf(decoy).layered) << c.selector << " left the decoy alone";
    }
    Result r = run("transparent --title \"kyctl S*T?rget\" --match exact 240");
    EXPECT_EQ(r.code, 2u) << "--match exact takes * and ? as they are";

    HWND twin = testWindow("kyctl Selector Target", "kyctlTestSelector");  // now the topmost of two
    r = run("transparent --title \"kyctl Selector Target\" 240");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(layeredOf(twin).alpha, 240) << "the topmost match";
    EXPECT_EQ(layeredOf(window).alpha, 231) << "only the topmost without --all";
    r = run("transparent --class kyctlTestSelector 250 --all");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(layeredOf(twin).alpha, 250);
    EXPECT_EQ(layeredOf(window).alpha, 250) << "--all reaches both";
    DestroyWindow(twin);
    DestroyWindow(window);
    DestroyWindow(decoy);
}

// Titles in any script: the command line reaches kyctl as UTF-16 and titles are compared
// as Unicode, so look-alikes that read the same in the ANSI code page stay apart.
TEST(KyctlRun, TitlesInAnyScriptPickTheirOwnWindow)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND lookAlike = testWindow("Здоров был — 中文字 ☂", "kyctlTestScript");
    HWND questionMarks = testWindow("?????? ??? — ??? ?", "kyctlTestScript");
    HWND greek = testWindow("Καλημέρα κόσμε 😀", "kyctlTestScript");
    HWND window = testWindow("Привет мир — 日本語 ☕", "kyctlTestScript");
    HWND all[] = {lookAlike, questionMarks, greek, window};
    struct Case {
        std::string args;
        HWND picked;
    };
    const Case cases[] = {
        {"--title \"Привет мир — 日本語 ☕\"", window},
        {"--title-contains 日本語", window},
        {"--title-contains \"ПРИВЕТ МИР\"", window},
        {"--title \"?????? ??? — ??? ?\" --match exact", questionMarks},
        {"--title \"Καλημέρα κόσμε 😀\"", greek},
        {"--title \"Καλημέρα κόσμε ?\"", greek},  // one ? for the emoji's two code units
    };
    int alpha = 221;
    for (const Case &c : cases) {
        for (HWND w : all)
            SetWindowLongW(w, GWL_EXSTYLE, GetWindowLongW(w, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        Result r = run("transparent " + c.args + " " + std::to_string(++alpha));
        EXPECT_EQ(r.code, 0u) << c.args << ": " << r.err;
        for (HWND w : all)
            EXPECT_EQ(layeredOf(w).layered, w == c.picked) << c.args << " and " << titleOf(w);
        EXPECT_EQ(layeredOf(c.picked).alpha, alpha) << c.args;
    }
    Result r = run("wait --title \"Привет мир — 日本語 ☕\" --json --timeout 2000");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_TRUE(kyctltest::isUtf8(r.out)) << r.out;
    EXPECT_NE(r.out.find("\"handle\":\"" + handleText(window) + "\",\"title\":\"Привет мир — 日本語 ☕\","
                         "\"class\":\"kyctlTestScript\",\"pid\":" + std::to_string(GetCurrentProcessId())),
              std::string::npos)
        << r.out;
    r = run("transparent --title \"Привет мир\" 230");
    EXPECT_EQ(r.err, "kyctl: --title \"Привет мир\": no visible top-level window matches\r\n") << "stderr in UTF-8";
    for (HWND w : all)
        DestroyWindow(w);
}

// kyctl run on another thread while this one does `meanwhile` and keeps its windows'
// messages flowing.
Result runWhile(const std::string &folder, const std::string &args, const std::function<void()> &meanwhile)
{
    Result r;
    std::atomic<bool> done{false};
    std::thread child([&] {
        r = runIn(folder, args, 30000);
        done = true;
    });
    kytest::pumpMessages(700);  // kyctl has started and is waiting
    meanwhile();
    kytest::waitUntil([&] { return done.load(); }, 40000);
    child.join();  // runIn ends the child after 30 s at most
    return r;
}

TEST(KyctlRun, WaitSeesAWindowAppearCloseAndComeToTheFront)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = kytest::programFolder();
    HWND window = NULL;
    Result r = runWhile(folder, "wait --title \"kyctl waited for\" --timeout 20000 --json",
                        [&] { window = testWindow("kyctl waited for"); });
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_NE(r.out.find("{\"handle\":\"" + handleText(window) + "\",\"title\":\"kyctl waited for\""),
              std::string::npos)
        << r.out;

    r = runWhile(folder, "wait --hwnd " + handleText(window) + " --gone --timeout 20000", [&] { DestroyWindow(window); });
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(r.out.rfind(handleText(window) + " ", 0), 0u) << "the window that closed: " << r.out;

    HWND front = testWindow("kyctl front");
    HWND back = testWindow("kyctl back");
    SetForegroundWindow(back);
    kytest::pumpMessages(50);
    r = runWhile(folder, "wait --title \"kyctl front\" --active --timeout 20000", [&] { SetForegroundWindow(front); });
    EXPECT_EQ(r.code, 0u) << r.err;
    DestroyWindow(front);
    DestroyWindow(back);
}

// Bad input: exit 2, one line on stderr naming the fault, nothing on stdout, and the
// window exactly as it was (style and title).
TEST(KyctlRun, BadInputChangesNothing)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND window = testWindow("kyctl bad input target");
    std::string h = handleText(window);
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {"transparent --hwnd " + h + " 300", "ALPHA \"300\": not a number from 0 to 255"},
        {"transparent --hwnd " + h + " half", "ALPHA \"half\""},
        {"effect x --hwnd " + h, "NUMBER \"x\""},
        {"transparent --title \"\" 230", "--title: the text is empty"},
        {"transparent --hwnd 0x4 230", "--hwnd 0x4: not a window"},
        {"transparent --hwnd 0" + h.substr(2) + " 230", "ambiguous with a leading zero"},
        {"transparent --title \"kyctl no such window\" 230", "--title \"kyctl no such window\": no visible top-level window matches"},
        {"transparent --exe nosuchprogram.exe 230", "--exe \"nosuchprogram.exe\": no program of that name"},
        {"transparent --pid 4000000000 230", "--pid 4000000000: that process has no visible top-level window"},
        {"transparent --hwnd " + h + " 230 --json", "--json: transparent reports nothing"},
        {"transparent --hwnd " + h + " 230 --alpha", "unknown option \"--alpha\""},
        {"fade --hwnd " + h, "unknown command \"fade\""},
        {"fade --help", "unknown command \"fade\""},
        {"serial COM7 --baud fast", "--baud \"fast\": not a number"},
        {"serial COM199 --send x", "serial: there is no port COM199"},
        {"reboot", "would restart Windows by force (kyPerformReboot)"},
        {"suspend", "would put the machine to sleep"},
        {"hibernate", "would hibernate the machine"},
    };
    for (const Case &c : cases) {
        Result r = run(c.args);
        EXPECT_EQ(r.code, 2u) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << c.args << ": one line: " << r.err;
        EXPECT_EQ(r.out, "") << c.args;
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), style) << c.args;
        EXPECT_EQ(titleOf(window), "kyctl bad input target") << c.args;
    }
    DestroyWindow(window);
}

TEST(KyctlRun, CapsLockOnIsSeenFromOutside)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND window = testWindow("kyctl key target");  // the keys go to the focus, as a user's do
    SetForegroundWindow(window);
    auto capsOn = [] {
        kytest::pumpMessages(100);
        return (GetKeyState(VK_CAPITAL) & 1) != 0;
    };
    bool before = capsOn();
    Result r = run("capslock on");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_TRUE(capsOn()) << "Caps Lock is on after `capslock on`";
    r = run("capslock --json");
    EXPECT_EQ(r.out, "{\"capsLock\":true}\r\n") << r.err;
    r = run("capslock off");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_FALSE(capsOn());
    r = run("capslock");
    EXPECT_EQ(r.out, "off\r\n");
    if (before)
        run("capslock on");
    DestroyWindow(window);
}

// The far device on COM8 reads what kyctl sends on COM7 and answers.
TEST(KyctlRun, SerialRoundTripOverALine)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HANDLE device = CreateFileA("\\\\.\\COM8", GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(device, INVALID_HANDLE_VALUE) << "COM8, the far end of the test line";
    COMMTIMEOUTS timeouts = {0, 0, 5000, 0, 2000};
    SetCommTimeouts(device, &timeouts);
    struct Case {
        std::string args;
        std::string expectSeen, reply, expectOut;
    };
    const Case cases[] = {
        {"serial COM7 --baud 9600 --send \"AT\\r\\n\" --read 4 --timeout 5000", "AT\r\n", "OK\r\n", "OK\r\n"},
        {"serial com7 --send-hex \"00 ff 0d\" --read 2 --hex --timeout 5000", std::string("\x00\xff\x0d", 3), "\r\x7f",
         "0d 7f\r\n"},
        {"serial COM7 --send x --read 2 --json --timeout 5000", "x", "q\xff",
         "{\"port\":\"COM7\",\"sent\":1,\"receivedHex\":\"71 ff\"}\r\n"},
    };
    for (const Case &c : cases) {
        PurgeComm(device, PURGE_RXCLEAR | PURGE_TXCLEAR);
        // kyctl runs on while this thread plays the device.
        Result r;
        std::thread child([&] { r = run(c.args, 20000); });
        std::string seen(c.expectSeen.size(), '\0');
        DWORD got = 0;
        ReadFile(device, &seen[0], static_cast<DWORD>(seen.size()), &got, NULL);
        seen.resize(got);
        EXPECT_EQ(seen, c.expectSeen) << c.args;
        DWORD written = 0;
        WriteFile(device, c.reply.data(), static_cast<DWORD>(c.reply.size()), &written, NULL);
        child.join();  // run() ends the child after 20 s at most
        EXPECT_EQ(r.code, 0u) << c.args << ": " << r.err;
        EXPECT_EQ(r.out, c.expectOut) << c.args << ": the bytes as they came";
    }
    // Nothing answers: what came is printed and the short read is exit 1.
    Result r = run("serial COM7 --read 1 --timeout 300");
    EXPECT_EQ(r.code, 1u);
    EXPECT_NE(r.err.find("ky_ReadByte: 0 of 1 bytes arrived within 300 ms"), std::string::npos) << r.err;
    CloseHandle(device);
}

TEST(KyctlRun, DiskWithoutAControllerIsAnEmptyList)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    Result r = run("disk --json");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(r.out, "[]\r\n");
    r = run("disk 0");
    EXPECT_EQ(r.code, 1u);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("kyHDid: disk 0 did not answer"), std::string::npos) << r.err;
}

// Help and version need no library, nor do monitors and mode --monitor: they run
// with no kydoru.dll beside kyctl. A command that calls the library says which file is missing.
TEST(KyctlRun, OnlyCommandsThatCallTheLibraryLoadIt)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = kyctltest::folderWith("kyctl_nodll", nullptr);
    char help[16384];
    kyctl::Text helpText = kyctl::textOver(help, sizeof help);
    kyctl::helpText(nullptr, &helpText);
    std::string helpCrlf;
    for (char c : std::string(help))
        helpCrlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const struct {
        std::string args, out;
    } cases[] = {
        {"--version", "kyctl " KYDORU_VERSION_STRING "\r\n"},
        {"--version --json", "{\"version\":\"" KYDORU_VERSION_STRING "\"}\r\n"},
        {"help", helpCrlf},
        {"monitors", ""},
        {"mode --monitor 1 --json", ""},
    };
    for (const auto &c : cases) {
        Result r = runIn(folder, c.args);
        EXPECT_EQ(r.code, 0u) << c.args << ": " << r.err;
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, c.out) << c.args;
        }
    }
    Result r = runIn(folder, "mode");
    EXPECT_EQ(r.code, 3u);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("kydoru.dll is missing: there is no "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("kyctl_nodll\\kydoru.dll"), std::string::npos) << "names the path it looked at: " << r.err;
}

TEST(KyctlRun, MissingExportIsExitThreeAndNamesIt)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = kyctltest::folderWith("kyctl_partial", "kyctl_fake_partial");
    Result r = runIn(folder, "cpu");
    EXPECT_EQ(r.code, 3u);
    EXPECT_NE(r.err.find("lacks the export kyProcSpeed"), std::string::npos) << r.err;
    EXPECT_EQ(kyctltest::readAll(folder + "calls.log"), "") << "nothing was called";
    r = runIn(folder, "monitor off");
    EXPECT_EQ(r.code, 0u) << "a command whose exports are there still runs: " << r.err;
}

// The way back from the alternate desktop is a hot key: pressed, kyctl switches back long
// before its time is up (here through the recording stand-in, on the test's desktop).
TEST(KyctlRun, TheWayBackKeyEndsTheDesktopSwitch)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = kyctltest::folderWith("kyctl_wayback", "kyctl_fake_full");
    Result r = runWhile(folder, "desktop switch --for 60", [&] {
        kytest::waitUntil([&] { return !kyctltest::readAll(folder + "calls.log").empty(); }, 20000);
        kytest::pumpMessages(500);  // the hot key is registered right after the switch
        std::vector<WORD> down;
        if (kyctl::wayBackModifiers & MOD_CONTROL)
            down.push_back(VK_CONTROL);
        if (kyctl::wayBackModifiers & MOD_ALT)
            down.push_back(VK_MENU);
        down.push_back(static_cast<WORD>(kyctl::wayBackKey));
        std::vector<INPUT> keys;
        for (size_t i = 0; i < down.size() * 2; ++i) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = i < down.size() ? down[i] : down[down.size() * 2 - 1 - i];
            key.ki.dwFlags = i < down.size() ? 0 : KEYEVENTF_KEYUP;
            keys.push_back(key);
        }
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    });
    ASSERT_TRUE(r.finished) << "still on the alternate desktop after 30 s: the key did not bring kyctl back";
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(kyctltest::readAll(folder + "calls.log"), "kyNewDesktopOn()\r\nkyNewDesktopOff()\r\n");
}

}  // namespace
