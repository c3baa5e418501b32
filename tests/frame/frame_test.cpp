// The library frame: what loading does, the export table as callers see it, and the
// cdecl promise that extra arguments do no harm.
#include "kytest.h"
#include "handles.h"
#include "frame/dibheader.h"
#include "frame/lazycalls.h"
#include "frame/systemlibrary.h"

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Every export in ordinal order (ordinal = index + 1), from the export table.
const char *const *const exportTable = kydoruExportNames;

// The names in the DLL's own export directory, in the order the directory lists them,
// each with its ordinal.
std::vector<std::pair<std::string, DWORD>> exportDirectory(HMODULE dll)
{
    std::vector<std::pair<std::string, DWORD>> names;
    const BYTE *base = reinterpret_cast<const BYTE *>(dll);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!entry.VirtualAddress)
        return names;
    const auto *dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + entry.VirtualAddress);
    const DWORD *nameRvas = reinterpret_cast<const DWORD *>(base + dir->AddressOfNames);
    const WORD *ordinals = reinterpret_cast<const WORD *>(base + dir->AddressOfNameOrdinals);
    for (DWORD i = 0; i < dir->NumberOfNames; ++i)
        names.emplace_back(reinterpret_cast<const char *>(base + nameRvas[i]), dir->Base + ordinals[i]);
    return names;
}

TEST(LibraryFrame, ExportDirectoryHoldsTheTableInByteOrderOfNames)
{
    HMODULE dll = kytest::library();
    ASSERT_NE(dll, nullptr) << "kydoru.dll beside the test program";
    const auto names = exportDirectory(dll);
    ASSERT_EQ(names.size(), 50u) << "every export, and nothing else, by name";
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].first, exportTable[i]) << "name " << i;
        EXPECT_EQ(names[i].second, DWORD(i + 1)) << names[i].first << "'s ordinal";
        if (i > 0) {
            EXPECT_LT(strcmp(names[i - 1].first.c_str(), names[i].first.c_str()), 0) << "byte order at " << i;
        }
    }
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

// The system DLLs a loaded module imports, loaded once more so they stay in the process.
std::vector<HMODULE> holdImportsOf(HMODULE module)
{
    std::vector<HMODULE> held;
    const BYTE *base = reinterpret_cast<const BYTE *>(module);
    const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!entry.VirtualAddress)
        return held;
    for (const auto *d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + entry.VirtualAddress); d->Name; ++d)
        if (HMODULE m = LoadLibraryA(reinterpret_cast<const char *>(base + d->Name)))
            held.push_back(m);
    return held;
}

TEST(LibraryFrame, LoadingAndUnloadingLeavesNothingBehind)
{
    std::string path = freshCopyOfLibrary();
    // The system DLLs it imports stay loaded, so what their own loading and unloading
    // opens is not counted against the library; a first load warms up the rest.
    HMODULE warm = LoadLibraryA(path.c_str());
    ASSERT_NE(warm, nullptr);
    std::vector<HMODULE> imports = holdImportsOf(warm);
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    GetClassInfoExA(warm, "kydoru", &info);  // the first window-manager call connects to the desktop
    FreeLibrary(warm);

    const long handlesBefore = kytest::openHandleCount();
    ASSERT_GE(handlesBefore, 0) << "this system doesn't tell the process's handle count";
    HMODULE dll = LoadLibraryA(path.c_str());
    ASSERT_NE(dll, nullptr);
    EXPECT_FALSE(GetClassInfoExA(dll, "kydoru", &info)) << "no clock class registered at load";
    EXPECT_FALSE(GetClassInfoExA(dll, "OpenGL", &info)) << "no logo class registered at load";
    EXPECT_TRUE(FreeLibrary(dll));
    EXPECT_EQ(kytest::openHandleCount(), handlesBefore) << "process handles before and after a load and unload";
    EXPECT_EQ(GetModuleHandleA("kydoru_loadcheck.dll"), nullptr) << "the library unloads";
    for (HMODULE m : imports)
        FreeLibrary(m);
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

TEST(SystemLibrary, LoadsFromTheSystemDirectoryOnlyNeverThroughTheSearchPath)
{
    char system[MAX_PATH] = "";
    UINT systemLength = GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_GT(systemLength, 0u);
    HMODULE msimg32 = loadSystemLibrary("msimg32.dll");
    ASSERT_NE(msimg32, nullptr);
    char file[MAX_PATH] = "";
    GetModuleFileNameA(msimg32, file, MAX_PATH);
    EXPECT_EQ(_strnicmp(file, system, systemLength), 0) << file << " lies in " << system;
    FreeLibrary(msimg32);

    // A DLL planted beside the program is on the search path, so LoadLibrary finds it.
    std::string planted = kytest::programFolder() + "kyplanted.dll";
    ASSERT_TRUE(CopyFileA((kytest::programFolder() + "kydoru.dll").c_str(), planted.c_str(), FALSE));
    HMODULE searched = LoadLibraryA("kyplanted.dll");
    EXPECT_NE(searched, nullptr) << "the search path finds " << planted;
    EXPECT_EQ(loadSystemLibrary("kyplanted.dll"), nullptr) << "only the system directory is looked in";
    if (searched)
        FreeLibrary(searched);
    DeleteFileA(planted.c_str());
    EXPECT_EQ(loadSystemLibrary(std::string(MAX_PATH, 'a').c_str()), nullptr) << "a path too long for MAX_PATH";
}

TEST(LazyBinding, ThreadsRacingToBindAllGetTheLibrarysFunction)
{
    // Withholding and restoring puts the entries back to their unbound start.
    withholdLazyLibrary(lazyMsImg32, 1);
    withholdLazyLibrary(lazyMsImg32, 0);

    // The threads only bind: GDI work on several threads at once ends the emulated
    // 32-bit process, whatever the library does, and so, now and then, do threads
    // loading a library together; there one thread binds, and the race is the 64-bit
    // suite's.
    const int threads = kytest::is32Bit() ? 1 : 4;
    HANDLE start = CreateEventA(NULL, TRUE, FALSE, NULL);
    ASSERT_NE(start, static_cast<HANDLE>(NULL));
    std::atomic<int> bound{0};
    std::vector<std::thread> racers;
    for (int i = 0; i < threads; ++i)
        racers.emplace_back([&] {
            if (WaitForSingleObject(start, 60000) == WAIT_OBJECT_0)
                bound += bindLazyLibrary(lazyMsImg32);
        });
    SetEvent(start);  // all bind at once
    for (std::thread &t : racers)
        t.join();
    CloseHandle(start);
    EXPECT_EQ(bound, threads) << "every thread found msimg32 bound";
    HMODULE msimg32 = GetModuleHandleA("msimg32.dll");
    EXPECT_EQ(lazyLibraryModule(lazyMsImg32), msimg32);
    EXPECT_EQ(reinterpret_cast<FARPROC>(lazyCalls.GradientFill), GetProcAddress(msimg32, "GradientFill"))
        << "the entry is the library's own function, not the stub";
}

TEST(DibHeader, ThirtyTwoBitHeadersByteByByte)
{
    ASSERT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    // Top-down headers carry the negative height (the first row in memory is the top),
    // bottom-up ones the positive height.
    struct Case { bool topDown; int width, height; unsigned char widthBytes[4], heightBytes[4]; } cases[] = {
        {true, 3, 2, {3, 0, 0, 0}, {0xFE, 0xFF, 0xFF, 0xFF}},
        {true, 1024, 768, {0x00, 0x04, 0, 0}, {0x00, 0xFD, 0xFF, 0xFF}},
        {true, 128, 128, {0x80, 0, 0, 0}, {0x80, 0xFF, 0xFF, 0xFF}},
        {false, 256, 128, {0x00, 0x01, 0, 0}, {0x80, 0, 0, 0}},
        {false, 3, 2, {3, 0, 0, 0}, {2, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        BITMAPINFOHEADER header;
        memset(&header, 0xCC, sizeof header);  // every byte must be written
        if (c.topDown)
            buildTopDownDib32Header(&header, c.width, c.height);
        else
            buildBottomUpDib32Header(&header, c.width, c.height);
        unsigned char expected[40] = {40};  // biSize
        memcpy(expected + 4, c.widthBytes, 4);
        memcpy(expected + 8, c.heightBytes, 4);
        expected[12] = 1;   // one plane
        expected[14] = 32;  // bits per pixel; compression and the rest stay 0
        const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&header);
        for (size_t i = 0; i < sizeof expected; ++i)
            EXPECT_EQ(bytes[i], expected[i]) << "byte " << i << " of the " << (c.topDown ? "top-down" : "bottom-up")
                                             << " header for " << c.width << " x " << c.height;
    }
}

}  // namespace
