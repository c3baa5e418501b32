// Applets and the system folder: the shell's values pass through unchanged, the folder
// is the system directory, and a failing query never hands back stale text.
#include "kytest.h"

#include <string>

#include "frame/lazycalls.h"
#include "frame/state.h"
#include "shell/applets.h"

namespace {

std::string opened;  // every shell request: owner, verb, file, parameters, directory, show
INT_PTR plantedResult;

HINSTANCE WINAPI fakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    auto text = [](LPCSTR value) { return std::string(value ? value : "-"); };
    opened += (owner ? "owner," : "-,") + text(verb) + "," + text(file) + "," + text(parameters) + "," +
              text(directory) + "," + std::to_string(show) + "; ";
    return reinterpret_cast<HINSTANCE>(plantedResult);
}

TEST(Applets, EachOpensItsAppletAndReturnsTheShellsValueUnchanged)
{
    AppletCalls saved = appletCalls;
    appletCalls.shellExecuteA = fakeShellExecute;
    plantedResult = 42;
    EXPECT_EQ(kySystemDialogMP(), 42);
    plantedResult = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(kySystemDialogTD(), ERROR_FILE_NOT_FOUND);
    appletCalls = saved;
    EXPECT_EQ(opened, "-,-,main.cpl,-,-,5; -,-,timedate.cpl,-,-,5; ")
        << "no owner, the default verb, the applet file, SW_SHOW";
}

TEST(Applets, ThroughTheDllTheValueIsTheShellsOwn)
{
    char found[MAX_PATH];
    if (SearchPathA(NULL, "timedate.cpl", NULL, MAX_PATH, found, NULL) ||
        SearchPathA(NULL, "main.cpl", NULL, MAX_PATH, found, NULL))
        GTEST_SKIP() << "the applets exist here and would open windows in the shared prefix";
    // Wine ships neither applet, so the shell answers with its "not found" value.
    INT_PTR direct = reinterpret_cast<INT_PTR>(ShellExecuteA(NULL, NULL, "timedate.cpl", NULL, NULL, SW_SHOW));
    EXPECT_LE(direct, 32);
    EXPECT_EQ(KYDLL(kySystemDialogTD)(), direct);
    EXPECT_EQ(KYDLL(kySystemDialogMP)(), direct);
}

TEST(Applets, WithoutShell32EachReturnsTheShellsDllNotFoundValue)
{
    withholdLazyLibrary(lazyShell32, 1);
    INT_PTR mouse = kySystemDialogMP();
    INT_PTR dateTime = kySystemDialogTD();
    withholdLazyLibrary(lazyShell32, 0);
    EXPECT_EQ(mouse, 32) << "SE_ERR_DLLNOTFOUND, as the shell itself says it";
    EXPECT_EQ(dateTime, 32);
}

TEST(SystemFolder, PathIsTheSystemDirectory)
{
    char expected[MAX_PATH] = "";
    ASSERT_GT(GetSystemDirectoryA(expected, MAX_PATH), 0u);
    char buffer[260];
    memset(buffer, 'x', sizeof buffer);
    KYDLL(kyGetWSPath)(buffer);
    EXPECT_EQ(lstrcmpiA(buffer, expected), 0) << buffer << " against " << expected;
}

TEST(SystemFolder, AFailingQueryLeavesAnEmptyStringNotStaleText)
{
    // shell32 exports the folder function by name only with its A and W suffixes.
    HMODULE shell32 = LoadLibraryA("shell32");
    EXPECT_EQ(GetProcAddress(shell32, "SHGetSpecialFolderPath"), nullptr);
    EXPECT_NE(GetProcAddress(shell32, "SHGetSpecialFolderPathA"), nullptr);
    FreeLibrary(shell32);

    AppletCalls saved = appletCalls;
    const struct {
        int shell32Withheld;
        const char *function;
    } failing[] = {{0, "SHGetSpecialFolderPath"}, {1, "SHGetSpecialFolderPathA"}};
    for (const auto &lookup : failing) {
        strcpy(resultText, "WDC WD400BB-00DEA0 (left by the disk query)");
        withholdLazyLibrary(lazyShell32, lookup.shell32Withheld);
        appletCalls.folderFunction = lookup.function;
        char buffer[260];
        memset(buffer, 'x', sizeof buffer);
        kyGetWSPath(buffer);
        withholdLazyLibrary(lazyShell32, 0);
        EXPECT_STREQ(buffer, "") << (lookup.shell32Withheld ? "without shell32, " : "shell32!") << lookup.function;
    }
    appletCalls = saved;

    char buffer[260] = "";
    kyGetWSPath(buffer);
    EXPECT_NE(buffer[0], 0) << "with shell32 and the real look-up the path comes back";
}

}  // namespace
