// kyctl's platform layer in this process, where the system's answers are stood in for
// what the test machine lacks: Windows Terminal hosting kyctl's console (Windows 10 1903
// and later: the terminal's window owns the hidden "PseudoConsoleWindow" that
// GetConsoleWindow answers), an elevated program (Vista and later integrity levels:
// medium 0x2000, high 0x3000), a session with no user's desktop, a cloaked window
// (Windows 8 and later: other virtual desktops).
#include "kytest.h"

#include <string>
#include <vector>

#include "../../kyctl/platform.h"
#include "child.h"
#include "shell/shellwindows.h"

namespace {

// The real answers again when a case ends.
struct StandIns {
    kyctl::SystemCalls saved = kyctl::systemCalls;
    ~StandIns() { kyctl::systemCalls = saved; }
};

std::string captured[2];  // what kyctl wrote to stdout and stderr

void capture(DWORD stream, const char *bytes, size_t length, bool)
{
    captured[stream == STD_ERROR_HANDLE].append(bytes, length);
}

// kyctl run in this process on `line`, its output captured.
int startWith(const std::string &line)
{
    captured[0].clear();
    captured[1].clear();
    kyctl::systemCalls.write = capture;
    std::vector<std::string> words = kyctltest::splitLine("kyctl " + line);
    std::vector<const char *> argv;
    for (const std::string &w : words)
        argv.push_back(w.c_str());
    return kyctl::start(static_cast<int>(argv.size()), argv.data());
}

using kyctltest::testWindow;

kyctl::Selector titled(kyctl::SelectorKind kind, const char *text)
{
    return {kind, 0, text, "--title", false};
}

kyctl::Selector byHandle(HWND window)
{
    return {kyctl::selHandle, reinterpret_cast<UINT_PTR>(window), nullptr, "--hwnd", false};
}

HWND pseudoConsole;
HWND WINAPI standInConsole()
{
    return pseudoConsole;
}
HWND WINAPI noConsole()
{
    return NULL;
}

TEST(KyctlPlatform, TheTerminalHostingKyctlIsNeverPicked)
{
    StandIns standIns;
    HWND terminal = testWindow("kyctl stand-in terminal - kyctl flash --title-contains stand-in");
    pseudoConsole = testWindow("", "PseudoConsoleWindow", 0, 200, terminal, WS_OVERLAPPED);
    ASSERT_TRUE(IsWindow(pseudoConsole));
    ASSERT_FALSE(IsWindowVisible(pseudoConsole));
    ASSERT_EQ(GetWindow(pseudoConsole, GW_OWNER), terminal);
    HWND found[4] = {};

    kyctl::systemCalls.consoleWindow = noConsole;
    EXPECT_EQ(kyctl::findWindows(titled(kyctl::selTitleContains, "STAND-IN TERMINAL"), found, 4, true), 1)
        << "without a console the terminal is an ordinary window";
    kyctl::systemCalls.consoleWindow = standInConsole;
    EXPECT_EQ(kyctl::findWindows(titled(kyctl::selTitleContains, "STAND-IN TERMINAL"), found, 4, true), 0)
        << "the root owner of the pseudo-console window is kyctl's own terminal";
    HWND other = testWindow("kyctl stand-in terminal's neighbour");
    EXPECT_EQ(kyctl::findWindows(titled(kyctl::selTitleContains, "stand-in terminal"), found, 4, true), 1);
    EXPECT_EQ(found[0], other);

    SetForegroundWindow(terminal);
    kytest::pumpMessages(50);
    if (GetForegroundWindow() == terminal) {
        EXPECT_EQ(startWith("flash --active"), kyctl::exitUsage);
        EXPECT_NE(captured[1].find("--active: the foreground window is the one running kyctl"), std::string::npos)
            << captured[1];
    } else {
        ADD_FAILURE() << "the stand-in terminal did not come to the front";
    }
    DestroyWindow(other);
    DestroyWindow(pseudoConsole);
    DestroyWindow(terminal);
}

HWND cloakedOne;
bool standInCloaked(HWND window)
{
    return window == cloakedOne;
}

TEST(KyctlPlatform, WindowsTheUserCantSeeAreSkippedUnlessNamedByHandle)
{
    StandIns standIns;
    kyctl::systemCalls.cloaked = standInCloaked;
    struct Case {
        const char *what;
        DWORD exStyle;
        int width;
        bool cloaked;
        bool picked;
    } cases[] = {
        {"an ordinary window", 0, 200, false, true},
        {"a tool window", WS_EX_TOOLWINDOW, 200, false, false},
        {"a zero-size window", 0, 0, false, false},
        {"a cloaked window", 0, 200, true, false},
    };
    for (const Case &c : cases) {
        HWND window = testWindow("kyctl unseen \xe2\x98\x83", "kyctlPlatformTest", c.exStyle, c.width);
        cloakedOne = c.cloaked ? window : NULL;
        HWND found[2] = {};
        EXPECT_EQ(kyctl::findWindows(titled(kyctl::selTitle, "kyctl unseen \xe2\x98\x83"), found, 2, true),
                  c.picked ? 1 : 0)
            << c.what;
        EXPECT_EQ(kyctl::findWindows(byHandle(window), found, 2, true), 1) << c.what << " by --hwnd";
        EXPECT_EQ(found[0], window) << c.what;
        DestroyWindow(window);
    }
    char why[256];
    kyctl::Text text = kyctl::textOver(why, sizeof why);
    EXPECT_FALSE(standIns.saved.cloaked(GetDesktopWindow())) << "the real question answers here";
    EXPECT_TRUE(standIns.saved.userDesktop(&text)) << "the test display is a user's desktop: " << why;
}

// Titles are compared whole, however long: two that differ only after 600 characters
// are two windows.
TEST(KyctlPlatform, LongTitlesAreComparedWhole)
{
    HWND first = testWindow(std::string(600, 'x') + " one");
    HWND second = testWindow(std::string(600, 'x') + " two");  // the topmost
    std::string wanted = std::string(600, 'x') + " one";
    HWND found[2] = {};
    EXPECT_EQ(kyctl::findWindows(titled(kyctl::selTitle, wanted.c_str()), found, 2, true), 1);
    EXPECT_EQ(found[0], first) << "not the topmost window that shares the first 600 characters";
    DestroyWindow(first);
    DestroyWindow(second);
}

bool elevatedOthers(DWORD processId, DWORD *level)
{
    *level = processId == 0 ? 0x2000 : 0x3000;  // kyctl medium, every window's program high
    return true;
}
bool sameLevel(DWORD, DWORD *level)
{
    *level = 0x2000;
    return true;
}

TEST(KyctlPlatform, AWindowOfAnElevatedProgramIsRefused)
{
    StandIns standIns;
    HWND window = testWindow("kyctl elevated stand-in");
    std::string line = "transparent --hwnd " + kyctltest::handleText(window) + " 230";
    kyctl::systemCalls.integrityLevel = elevatedOthers;
    EXPECT_EQ(startWith(line), kyctl::exitFailed);
    EXPECT_NE(captured[1].find("running with higher rights (elevated: integrity 0x3000, kyctl's 0x2000)"),
              std::string::npos)
        << captured[1];
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) << "nothing changed";
    kyctl::systemCalls.integrityLevel = sameLevel;
    EXPECT_EQ(startWith(line), kyctl::exitDone) << captured[1];
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) << "the same level reaches it";
    DestroyWindow(window);
}

bool noUserDesktop(kyctl::Text *why)
{
    kyctl::textPut(why, "stand-in for session 0");
    return false;
}

TEST(KyctlPlatform, WithoutAUsersDesktopTheCommandsThatNeedOneRefuse)
{
    StandIns standIns;
    kyctl::systemCalls.userDesktop = noUserDesktop;
    HWND window = testWindow("kyctl no desktop stand-in");
    const struct {
        std::string line;
        int exit;
    } cases[] = {
        {"transparent --hwnd " + kyctltest::handleText(window) + " 230", kyctl::exitFailed},
        {"sysdir", kyctl::exitDone},  // needs no desktop
        {"help", kyctl::exitDone},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(startWith(c.line), c.exit) << c.line << ": " << captured[1];
        if (c.exit == kyctl::exitFailed) {
            EXPECT_NE(captured[1].find(": no user's desktop to act on: stand-in for session 0"), std::string::npos)
                << captured[1];
        }
    }
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) << "nothing changed";
    DestroyWindow(window);
}

// Without a shell there is no task bar: kyctl says so and calls nothing (the lookups'
// classes are pointed at one nobody registers, as where no shell runs).
TEST(KyctlPlatform, WithoutATaskBarTheShellElementsSaySo)
{
    StandIns standIns;
    ShellWindowClasses saved = shellWindowClasses;
    shellWindowClasses.taskBar = "kyctlNoSuchTaskBar";
    const struct {
        const char *line, *message;
    } cases[] = {
        {"startbutton hide", "kyctl: startbutton: there is no task bar (no shell runs, or another shell than "
                             "Explorer); nothing was hidden\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(startWith(c.line), kyctl::exitFailed) << c.line;
        EXPECT_EQ(captured[1], c.message);
    }
    shellWindowClasses = saved;
}

// On a console, text goes through the console's Unicode interface: it shows whatever the
// console's code page, as read back from the console's own screen.
TEST(KyctlPlatform, AConsoleShowsUnicodeText)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();  // a new console starts the console host
    // The console of this process (the test runner gives it one), or a new one.
    auto open = [] {
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, 0, NULL);
    };
    HANDLE screen = open();
    bool own = false;
    if (screen == INVALID_HANDLE_VALUE) {
        // Attached to a console with no screen (Wine's, under a runner's pipes): a new one.
        FreeConsole();
        own = AllocConsole() != 0;
        if (own)
            screen = open();
    }
    DWORD mode = 0;
    if (screen == INVALID_HANDLE_VALUE || !GetConsoleMode(screen, &mode))
        GTEST_SKIP() << "no console for this process here (error " << GetLastError() << ")";
    CONSOLE_SCREEN_BUFFER_INFO before = {};
    GetConsoleScreenBufferInfo(screen, &before);
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, screen);
    UINT codePage = GetConsoleOutputCP();
    SetConsoleOutputCP(437);  // a code page without Cyrillic
    char buffer[64];
    kyctl::Text text = kyctl::textOver(buffer, sizeof buffer);
    kyctl::textPut(&text, "Привет мир\n");
    kyctl::writeText(STD_OUTPUT_HANDLE, text);
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
    SetConsoleOutputCP(codePage);
    wchar_t shown[10] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadConsoleOutputCharacterW(screen, shown, 10, before.dwCursorPosition, &read));
    EXPECT_EQ(std::wstring(shown, read), L"\x041F\x0440\x0438\x0432\x0435\x0442 \x043C\x0438\x0440");
    CloseHandle(screen);
    if (own)
        FreeConsole();
}

}  // namespace
