// kyctl.exe run as a child process, as a script runs it: what it did is checked from
// outside (the test window's layered attributes and style, the key state, the far end
// of a serial line, the stand-in DLL's call log), with its exit code and its output.
#include "kytest.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

struct Result {
    bool finished = false;
    DWORD code = 999;
    std::string out, err;
};

std::string readAll(const std::string &path)
{
    std::string text;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    fclose(file);
    return text;
}

HANDLE inheritableFile(const std::string &path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

// How long one kyctl run may take: a 32-bit start is emulated and alone takes about a
// minute on a busy machine.
DWORD runLimitMs()
{
    return kytest::is32Bit() ? 240000 : 30000;
}

// Runs folder\kyctl.exe with `args` (already quoted where needed), pumping this thread's
// messages meanwhile (the test windows live on it), for at most limitMs.
Result runIn(const std::string &folder, const std::string &args, DWORD limitMs = runLimitMs())
{
    Result result;
    std::string exe = folder + "kyctl.exe";
    std::string commandLine = "\"" + exe + "\" " + args;
    // Fresh files for each run: under Wine an ended child's handles may close a moment
    // after its process handle is signalled, so a reused file could still be held.
    static std::atomic<int> runs{0};
    std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    std::string outPath = folder + "kyctl-out-" + tag + ".txt", errPath = folder + "kyctl-err-" + tag + ".txt";
    HANDLE out = inheritableFile(outPath), err = inheritableFile(errPath);
    if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
        CloseHandle(out);
        CloseHandle(err);
        result.err = "the output files could not be made";
        return result;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                                  folder.c_str(), &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        result.err = "CreateProcess failed";
        return result;
    }
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && GetTickCount() - start < limitMs)
        kytest::pumpMessages(10);
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 998);
        WaitForSingleObject(process.hProcess, 5000);
    } else {
        result.finished = true;
        GetExitCodeProcess(process.hProcess, &result.code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    result.out = readAll(outPath);
    result.err = readAll(errPath);
    DeleteFileA(outPath.c_str());
    DeleteFileA(errPath.c_str());
    return result;
}

Result run(const std::string &args, DWORD limitMs = runLimitMs())
{
    return runIn(kytest::programFolder(), args, limitMs);
}

std::string titleOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string handleText(HWND window)
{
    char text[32];
    snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

// A fresh folder under the program's folder holding a copy of kyctl.exe and, when given,
// the DLL from `dllFolder`.
std::string folderWith(const char *name, const char *dllFolder)
{
    std::string folder = kytest::programFolder() + name + "\\";
    CreateDirectoryA(folder.c_str(), NULL);
    DeleteFileA((folder + "calls.log").c_str());
    DeleteFileA((folder + "kydoru.dll").c_str());
    CopyFileA((kytest::programFolder() + "kyctl.exe").c_str(), (folder + "kyctl.exe").c_str(), FALSE);
    if (dllFolder)
        CopyFileA((kytest::programFolder() + dllFolder + "\\kydoru.dll").c_str(), (folder + "kydoru.dll").c_str(), FALSE);
    return folder;
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

// A visible top-level test window of its own class and title, brought to the top.
HWND targetWindow(const char *title, const char *className = "kyctlTestTarget")
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    HWND window = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 240, 160, NULL, NULL,
                                GetModuleHandleA(NULL), NULL);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    kytest::pumpMessages(50);
    return window;
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
    HWND window = targetWindow("kyctl transparent target");
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

// Each selector finds the window it names (a decoy with a near title stays untouched);
// several matches: the topmost, or each of them with --all.
TEST(KyctlRun, EachSelectorFindsItsWindow)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND decoy = targetWindow("kyctl selector decoy", "kyctlTestDecoy");
    HWND window = targetWindow("kyctl Selector Target", "kyctlTestSelector");
    char pid[16];
    snprintf(pid, sizeof pid, "%lu", GetCurrentProcessId());
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
        {std::string("--pid ") + pid, 226},
        {"--active", 227},
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

    HWND twin = targetWindow("kyctl Selector Target", "kyctlTestSelector");  // now the topmost of two
    Result r = run("transparent --title \"kyctl Selector Target\" 240");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(layeredOf(twin).alpha, 240) << "the topmost match";
    EXPECT_EQ(layeredOf(window).alpha, 227) << "only the topmost without --all";
    r = run("transparent --class kyctlTestSelector 250 --all");
    EXPECT_EQ(r.code, 0u) << r.err;
    EXPECT_EQ(layeredOf(twin).alpha, 250);
    EXPECT_EQ(layeredOf(window).alpha, 250) << "--all reaches both";
    DestroyWindow(twin);
    DestroyWindow(window);
    DestroyWindow(decoy);
}

// Bad input: exit 2, one line on stderr naming the fault, nothing on stdout, and the
// window exactly as it was (style and title).
TEST(KyctlRun, BadInputChangesNothing)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    HWND window = targetWindow("kyctl bad input target");
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
        {"transparent --title \"kyctl no such window\" 230", "--title \"kyctl no such window\": no visible top-level window matches"},
        {"transparent --pid 4000000000 230", "--pid 4000000000: that process has no visible top-level window"},
        {"transparent --hwnd " + h + " 230 --json", "--json: transparent reports nothing"},
        {"transparent --hwnd " + h + " 230 --alpha", "unknown option \"--alpha\""},
        {"fade --hwnd " + h, "unknown command \"fade\""},
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
    HWND window = targetWindow("kyctl key target");  // the keys go to the focus, as a user's do
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
        {"serial COM7 --baud 9600 --send hello --read 3 --timeout 5000", "hello", "abc", "abc\r\n"},
        {"serial com7 --send-hex \"00 ff 0d\" --read 2 --hex --timeout 5000", std::string("\x00\xff\x0d", 3), "\r\x7f",
         "0d 7f\r\n"},
        {"serial COM7 --send x --read 2 --json --timeout 5000", "x", "q\"",
         "{\"port\":\"COM7\",\"sent\":1,\"received\":\"q\\\"\",\"receivedHex\":\"71 22\"}\r\n"},
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
        EXPECT_EQ(r.out, c.expectOut) << c.args;
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

TEST(KyctlRun, HelpListsEveryCommandAndVersionIsTheProjects)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    Result r = run("help");
    EXPECT_EQ(r.code, 0u);
    for (const char *name : {"mode", "transparent", "copy-effect", "desktop", "serial", "hibernate", "logo"})
        EXPECT_NE(r.out.find(std::string("  ") + name + " "), std::string::npos) << name;
    r = run("help serial");
    EXPECT_EQ(r.out.rfind("usage: kyctl serial PORT", 0), 0u) << r.out;
    r = run("--version");
    EXPECT_EQ(r.out, "kyctl " KYDORU_VERSION_STRING "\r\n");
    EXPECT_EQ(r.code, 0u);
}

TEST(KyctlRun, MissingLibraryIsExitThree)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = folderWith("kyctl_nodll", nullptr);
    Result r = runIn(folder, "mode");
    EXPECT_EQ(r.code, 3u);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("kydoru.dll is missing: there is no "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("kyctl_nodll\\kydoru.dll"), std::string::npos) << "names the path it looked at: " << r.err;
}

TEST(KyctlRun, MissingExportIsExitThreeAndNamesIt)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = folderWith("kyctl_partial", "kyctl_fake_partial");
    Result r = runIn(folder, "cpu");
    EXPECT_EQ(r.code, 3u);
    EXPECT_NE(r.err.find("lacks the export kyProcSpeed"), std::string::npos) << r.err;
    EXPECT_EQ(readAll(folder + "calls.log"), "") << "nothing was called";
}

// Power commands with --yes reach their export only here, in the recording stand-in.
TEST(KyctlRun, PowerCommandsWithYesCallTheirExport)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    struct Case {
        const char *args, *call;
    };
    const Case cases[] = {
        {"reboot --yes", "kyPerformReboot\r\n"},
        {"suspend --yes", "kySystemPowerSuspend\r\n"},
        {"hibernate --yes", "kySystemPowerHibernate\r\n"},
        {"monitor off", "kyMonitorOff\r\n"},
        {"reboot", ""},
    };
    for (const Case &c : cases) {
        std::string folder = folderWith("kyctl_recorder", "kyctl_fake_full");
        Result r = runIn(folder, c.args);
        EXPECT_EQ(r.code, c.call[0] ? 0u : 2u) << c.args << ": " << r.err;
        EXPECT_EQ(readAll(folder + "calls.log"), c.call) << c.args;
    }
}

}  // namespace
