// Shell elements. Wine's explorer keeps a hidden task bar window with no start button
// or clock, and no desktop-icons window at all, so windows of the shell's classes made
// here stand in where Wine has none: the exports find them by class exactly as they
// would find the shell's.
#include "kytest.h"

#include "shell/shellwindows.h"

namespace {

// A task bar with a start button (304) and a notification area (303) holding the clock
// (303), and a desktop-icons window, all of this thread.
struct StandInShell {
    HWND taskBar = NULL, startButton = NULL, notificationArea = NULL, clock = NULL, icons = NULL;

    StandInShell()
    {
        HINSTANCE self = GetModuleHandleA(NULL);
        for (const char *name : {"Shell_TrayWnd", "progman"}) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = self;
            wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
            wc.lpszClassName = name;
            RegisterClassA(&wc);
        }
        const DWORD child = WS_CHILD | WS_VISIBLE;
        taskBar = CreateWindowExA(WS_EX_TOPMOST, "Shell_TrayWnd", NULL, WS_POPUP | WS_VISIBLE, 0, 730, 1024, 38,
                                  NULL, NULL, self, NULL);
        startButton = CreateWindowA("BUTTON", "start", child, 2, 2, 60, 34, taskBar, HMENU(304), self, NULL);
        notificationArea = CreateWindowA("STATIC", "", child, 900, 2, 120, 34, taskBar, HMENU(303), self, NULL);
        clock = CreateWindowA("STATIC", "12:00", child, 60, 2, 50, 30, notificationArea, HMENU(303), self, NULL);
        icons = CreateWindowExA(0, "progman", "Program Manager", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL,
                                self, NULL);
        kytest::pumpMessages(50);
    }
    ~StandInShell()
    {
        DestroyWindow(icons);
        DestroyWindow(taskBar);
    }
    // True when the exports will find these windows rather than the shell's own.
    bool found() const
    {
        return findTaskBar() == taskBar && findDesktopIcons() == icons && findStartButton() == startButton &&
               findTrayClock() == clock;
    }
};

TEST(ShellElements, TaskBarHideTwiceThenShowAgainstWinesOwnTaskBar)
{
    HWND wineTaskBar = FindWindowA("Shell_TrayWnd", NULL);
    if (!wineTaskBar)
        GTEST_SKIP() << "Wine started no task bar window in this desktop";
    BOOL wasVisible = IsWindowVisible(wineTaskBar);
    KYDLL(kyShowTaskBar)();
    EXPECT_TRUE(IsWindowVisible(wineTaskBar));
    EXPECT_NE(KYDLL(kyHideTaskBar)(), 0) << "it was visible";
    EXPECT_FALSE(IsWindowVisible(wineTaskBar));
    EXPECT_EQ(KYDLL(kyHideTaskBar)(), 0) << "it was hidden already";
    EXPECT_EQ(KYDLL(kyShowTaskBar)(), 0) << "it was hidden";
    EXPECT_TRUE(IsWindowVisible(wineTaskBar));
    ShowWindow(wineTaskBar, wasVisible ? SW_SHOW : SW_HIDE);
}

TEST(ShellElements, EachExportActsOnItsOwnElementOfAStandInShell)
{
    StandInShell shell;
    if (!shell.found())
        GTEST_SKIP() << "the system's own shell windows come first in the search";

    EXPECT_NE(KYDLL(kyHideTaskBar)(), 0);
    EXPECT_EQ(KYDLL(kyHideTaskBar)(), 0);
    EXPECT_FALSE(IsWindowVisible(shell.taskBar));
    EXPECT_EQ(KYDLL(kyShowTaskBar)(), 0);
    EXPECT_TRUE(IsWindowVisible(shell.taskBar));

    EXPECT_NE(KYDLL(kyHideStartButton)(), 0);
    EXPECT_FALSE(IsWindowVisible(shell.startButton));
    EXPECT_TRUE(IsWindowVisible(shell.taskBar)) << "only the start button is hidden";
    EXPECT_TRUE(IsWindowVisible(shell.clock));
    EXPECT_EQ(KYDLL(kyHideStartButton)(), 0);
    EXPECT_EQ(KYDLL(kyShowStartButton)(), 0);
    EXPECT_TRUE(IsWindowVisible(shell.startButton));

    EXPECT_NE(KYDLL(kyHideSystemClock)(), 0) << "UpdateWindow succeeds on the clock";
    EXPECT_FALSE(IsWindowVisible(shell.clock));
    EXPECT_TRUE(IsWindowVisible(shell.notificationArea)) << "the notification area stays";
    EXPECT_NE(KYDLL(kyShowSystemClock)(), 0);
    EXPECT_TRUE(IsWindowVisible(shell.clock));

    EXPECT_EQ(KYDLL(kyHideDesktopIcons)(), 0) << "hidden by the first call before the second";
    EXPECT_FALSE(IsWindowVisible(shell.icons));
    ShowWindow(shell.icons, SW_MINIMIZE);
    EXPECT_EQ(KYDLL(kyShowDesktopIcons)(), 0);
    EXPECT_TRUE(IsWindowVisible(shell.icons));
    EXPECT_FALSE(IsIconic(shell.icons)) << "shown in its normal state";
    EXPECT_EQ(KYDLL(kyShowDesktopIcons)(), 0) << "also when the icons were visible";
    EXPECT_TRUE(IsWindowVisible(shell.icons));
}

TEST(ShellElements, WithoutTheShellsWindowsEveryExportReturnsZero)
{
    ShellWindowClasses saved = shellWindowClasses;
    shellWindowClasses = {"kyNoSuchTaskBar", "kyNoSuchIcons"};
    EXPECT_EQ(kyHideTaskBar(), 0);
    EXPECT_EQ(kyShowTaskBar(), 0);
    EXPECT_EQ(kyHideStartButton(), 0);
    EXPECT_EQ(kyShowStartButton(), 0);
    EXPECT_EQ(kyHideSystemClock(), 0);
    EXPECT_EQ(kyShowSystemClock(), 0);
    EXPECT_EQ(kyHideDesktopIcons(), 0);
    EXPECT_EQ(kyShowDesktopIcons(), 0);
    shellWindowClasses = saved;

    // Wine's own task bar has neither start button nor clock: a real missing window.
    HWND wineTaskBar = FindWindowA("Shell_TrayWnd", NULL);
    if (wineTaskBar && !GetDlgItem(wineTaskBar, 304) && !GetDlgItem(wineTaskBar, 303)) {
        EXPECT_EQ(KYDLL(kyHideStartButton)(), 0);
        EXPECT_EQ(KYDLL(kyShowStartButton)(), 0);
        EXPECT_EQ(KYDLL(kyHideSystemClock)(), 0);
        EXPECT_EQ(KYDLL(kyShowSystemClock)(), 0);
    }
    if (!FindWindowA("progman", NULL)) {
        EXPECT_EQ(KYDLL(kyHideDesktopIcons)(), 0);
        EXPECT_EQ(KYDLL(kyShowDesktopIcons)(), 0);
    }
}

TEST(ShellElements, DesktopWindowPairReportsItsVisibility)
{
    HWND desktop = GetDesktopWindow();
    ASSERT_TRUE(IsWindowVisible(desktop));
    int hidden = KYDLL(kyHideDesktop)();
    BOOL afterHide = IsWindowVisible(desktop);
    int shown = KYDLL(kyShowDesktop)();
    EXPECT_TRUE(IsWindowVisible(desktop)) << "the desktop is shown again";
    if (afterHide) {
        // Wine refuses to hide its desktop window: each call passes ShowWindow's answer on.
        EXPECT_EQ(hidden, 0) << "a refused hide reports failure";
        EXPECT_NE(shown, 0) << "the window was still visible before the show";
        return;
    }
    EXPECT_NE(hidden, 0) << "it was visible before the hide";
    EXPECT_EQ(shown, 0) << "it was hidden before the show";
}

}  // namespace
