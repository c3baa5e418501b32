// The ten shell-element exports on the window structures of four shells. Wine's explorer
// has none of them, so each is built in this process (standinshells.h) with the classes,
// ids and parents the real shell uses; the exports find them by class and id exactly as
// they would find the shell's own. What an export did is read from each window's own
// WS_VISIBLE bit, not from anything the library reports.
#include "kytest.h"

#include "shell/shellwindows.h"
#include "standinshells.h"

namespace {

using kytest::StandInShell;

// The exports in the order they are called, each hide right before its show.
typedef int(KYCALL *ShellExport)(void);
const char *const exportNames[] = {
    "kyHideTaskBar",     "kyShowTaskBar",     "kyHideStartButton",  "kyShowStartButton",  "kyHideSystemClock",
    "kyShowSystemClock", "kyHideDesktopIcons", "kyShowDesktopIcons", "kyHideDesktop",      "kyShowDesktop",
};
const int exportCount = sizeof exportNames / sizeof exportNames[0];

// What one call returned and which windows of the stand-in were hidden right after it
// (keys in row order; every window was visible before each hide).
struct Outcome {
    int result;
    const char *hidden;
};

// Wine keeps its desktop window visible and answers a hide with 0; the stand-ins'
// windows are not touched by the desktop pair on any structure.
struct ShellRow {
    const char *windowsVersion;  // the stand-in's structure
    Outcome outcomes[exportCount];
};
const ShellRow shellTable[] = {
    {"Windows XP",
     {{1, "bar"}, {0, ""}, {1, "start"}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman"}, {0, ""}, {0, ""}, {1, ""}}},
    {"Windows 7",
     {{1, "bar"}, {0, ""}, {0, ""}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman"}, {0, ""}, {0, ""}, {1, ""}}},
    {"Windows 10",
     {{1, "bar second"}, {0, ""}, {1, "start"}, {0, ""}, {1, "clock"}, {1, ""}, {0, "progman view"}, {0, ""},
      {0, ""}, {1, ""}}},
    {"Windows 11",
     {{1, "bar second"}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, "progman view"}, {0, ""}, {0, ""},
      {1, ""}}},
};

TEST(StandInShells, EachExportOnEachShellStructure)
{
    for (const ShellRow &row : shellTable) {
        SCOPED_TRACE(row.windowsVersion);
        ASSERT_NE(kytest::shellStructure(row.windowsVersion), nullptr);
        StandInShell shell(*kytest::shellStructure(row.windowsVersion));
        ASSERT_TRUE(shell.complete()) << "every window of the stand-in was made";
        if (findTaskBar() != shell["bar"] || findDesktopIcons() != shell["progman"])
            GTEST_SKIP() << "the system's own shell windows come first in the search";
        for (int i = 0; i < exportCount; ++i) {
            auto call = reinterpret_cast<ShellExport>(kytest::exportAddress(exportNames[i]));
            ASSERT_NE(call, nullptr);
            const int result = call();
            EXPECT_EQ(result, row.outcomes[i].result) << exportNames[i] << " result";
            EXPECT_EQ(shell.hidden(), row.outcomes[i].hidden) << "hidden right after " << exportNames[i];
        }
    }
}

}  // namespace
