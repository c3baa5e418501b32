// The library frame: what loading does, the export table as callers see it, and the
// cdecl promise that extra arguments do no harm.
#include "kytest.h"

#include <string>

namespace {

// Every export in ordinal order (ordinal = index + 1).
const char *const exportTable[50] = {
    "kyCanChangeVideoMode", "kyCancelFullScreen", "kyChangeVideoModePermanently",
    "kyChangeVideoModeTemporarily", "kyCommIBClear", "kyCommOBClear", "kyCommRTerminate",
    "kyCommWTerminate", "kyDesktopBmpEffect", "kyFlashWindow", "kyFullScreen",
    "kyGetCurrentVideoMode", "kyGetWSPath", "kyHDid", "kyHideDesktop", "kyHideDesktopIcons",
    "kyHideStartButton", "kyHideSystemClock", "kyHideTaskBar", "kyLogo", "kyMonitorOff",
    "kyNewDesktopOff", "kyNewDesktopOn", "kyPerformReboot", "kyProcSpeed", "kyRemoveWindowTrans",
    "kySetCapsLock", "kySetNumLock", "kySetWTransparent", "kySetupComm", "kyShowDesktop",
    "kyShowDesktopIcons", "kyShowStartButton", "kyShowSystemClock", "kyShowTaskBar", "kySoftClock",
    "kySystemDialogMP", "kySystemDialogTD", "kySystemPowerHibernate", "kySystemPowerSuspend",
    "kyWindowBmpEffect", "kyWindowBmpEffect2", "kyWindowD1", "kyWindowErase", "ky_ClosePort",
    "ky_ComConf", "ky_ComOpen", "ky_ReadByte", "ky_SetComTimeouts", "ky_WriteByte",
};

TEST(LibraryFrame, TableIsInByteOrderOfNames)
{
    for (int i = 1; i < 50; ++i)
        EXPECT_LT(strcmp(exportTable[i - 1], exportTable[i]), 0) << exportTable[i - 1] << " before " << exportTable[i];
}

TEST(LibraryFrame, EveryBuiltExportIsFoundByNameAndByItsOrdinal)
{
    HMODULE dll = kytest::library();
    ASSERT_NE(dll, nullptr) << "kydoru.dll beside the test program";
    int found = 0;
    for (int i = 0; i < 50; ++i) {
        FARPROC byName = GetProcAddress(dll, exportTable[i]);
        FARPROC byOrdinal = GetProcAddress(dll, MAKEINTRESOURCEA(i + 1));
        if (!byName) {
            EXPECT_EQ(byOrdinal, nullptr) << "ordinal " << i + 1 << " is taken by another export";
            continue;
        }
        ++found;
        EXPECT_EQ(byName, byOrdinal) << exportTable[i] << " must be at ordinal " << i + 1;
    }
    // Decorated forms must not exist: callers bind by the plain name.
    EXPECT_EQ(GetProcAddress(dll, "_kyFullScreen"), nullptr);
    EXPECT_EQ(GetProcAddress(dll, "kyFullScreen@0"), nullptr);
    EXPECT_GE(found, 6) << "at least the display-mode exports are built";
}

// A private copy of the DLL, so this check sees a fresh load even when another test
// of the same program has the library loaded already.
std::string freshCopyOfLibrary()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string copy = std::string(temp) + "kydoru_loadcheck.dll";
    CopyFileA((kytest::programFolder() + "kydoru.dll").c_str(), copy.c_str(), FALSE);
    return copy;
}

TEST(LibraryFrame, LoadingAndUnloadingLeavesNothingBehind)
{
    std::string path = freshCopyOfLibrary();
    // Warm up once so the system's own lazily opened handles are not counted against us.
    HMODULE warm = LoadLibraryA(path.c_str());
    ASSERT_NE(warm, nullptr);
    FreeLibrary(warm);

    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    HMODULE dll = LoadLibraryA(path.c_str());
    ASSERT_NE(dll, nullptr);
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExA(dll, "kydoru", &info)) << "no clock class registered at load";
    EXPECT_FALSE(GetClassInfoExA(dll, "OpenGL", &info)) << "no logo class registered at load";
    EXPECT_TRUE(FreeLibrary(dll));
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore) << "process handles before and after a load and unload";
    EXPECT_EQ(GetModuleHandleA("kydoru_loadcheck.dll"), nullptr) << "the library unloads";
    DeleteFileA(path.c_str());
}

TEST(LibraryFrame, ExtraArgumentsToAnExportThatTakesNoneChangeNothing)
{
    // cdecl: the caller removes what it pushed, so four extra values are harmless.
    typedef int(KYCALL * FourArguments)(int, int, int, int);
    auto plain = KYDLL(kyCancelFullScreen);
    ASSERT_NE(plain, nullptr);
    auto withFour = reinterpret_cast<FourArguments>(plain);
    volatile int guard = 0x5EED;
    int first = plain();
    int second = withFour(1, 2, 3, 4);
    int third = plain();
    EXPECT_EQ(second, first + 1) << "the call with four arguments still raises the cursor count once";
    EXPECT_EQ(third, second + 1);
    EXPECT_EQ(guard, 0x5EED) << "the caller's stack is intact";

    auto canChange = KYDLL(kyCanChangeVideoMode);
    ASSERT_NE(canChange, nullptr);
    EXPECT_EQ(reinterpret_cast<FourArguments>(canChange)(7, 8, 9, 10), canChange());
    // Undo the cursor counts this test added.
    ShowCursor(FALSE);
    ShowCursor(FALSE);
    ShowCursor(FALSE);
}

}  // namespace
