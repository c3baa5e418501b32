// Display modes: the request record byte by byte, and the exports against the test
// display (a 1024 x 768 Xvfb screen that Wine reports at 32 bits per pixel).
#include "kytest.h"

#include <cstddef>
#include <string>

#include "display/displaymode.h"

namespace {

// Field offsets of the full DEVMODEA as the platform lays it out (the same on 32- and 64-bit).
constexpr size_t sizeOffset = 36, fieldsOffset = 40, bitsOffset = 104, widthOffset = 108,
                 heightOffset = 112, frequencyOffset = 120, recordSize = 156;

void putWord(unsigned char *bytes, size_t at, unsigned value, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

void expectRecord(const DEVMODEA &mode, const unsigned char (&expected)[recordSize])
{
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&mode);
    for (size_t i = 0; i < recordSize; ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "byte " << i << " of the display-mode record";
}

TEST(DisplayModeRecord, FixedModeIsSizeFieldsAndThreeValuesOnly)
{
    ASSERT_EQ(sizeof(DEVMODEA), recordSize);
    DEVMODEA mode;
    memset(&mode, 0xCC, sizeof mode);  // every byte must be written
    buildDisplayMode(&mode, 32, 1024, 768, 0);
    unsigned char expected[recordSize] = {};
    putWord(expected, sizeOffset, 156, 2);
    putWord(expected, fieldsOffset, 0x1C0000, 4);
    putWord(expected, bitsOffset, 32, 4);
    putWord(expected, widthOffset, 1024, 4);
    putWord(expected, heightOffset, 768, 4);
    expectRecord(mode, expected);
    EXPECT_EQ(mode.dmFields, DWORD(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT));
}

TEST(DisplayModeRecord, ZeroArgumentsKeepEveryPropertyAndRefreshAddsItsFlag)
{
    DEVMODEA mode;
    memset(&mode, 0xCC, sizeof mode);
    buildDisplayMode(&mode, 0, 0, 0, 0);
    unsigned char onlySize[recordSize] = {};
    putWord(onlySize, sizeOffset, 156, 2);
    expectRecord(mode, onlySize);

    buildDisplayMode(&mode, 32, 800, 600, 60);
    unsigned char withRefresh[recordSize] = {};
    putWord(withRefresh, sizeOffset, 156, 2);
    putWord(withRefresh, fieldsOffset, 0x5C0000, 4);
    putWord(withRefresh, bitsOffset, 32, 4);
    putWord(withRefresh, widthOffset, 800, 4);
    putWord(withRefresh, heightOffset, 600, 4);
    putWord(withRefresh, frequencyOffset, 60, 4);
    expectRecord(mode, withRefresh);
}

// The screen's size seen apart from the display-mode exports: the primary context's
// own extent and the system's metrics, which must agree.
void expectScreen(int width, int height, const std::string &when)
{
    HDC screen = GetDC(NULL);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), width) << when;
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), height) << when;
    ReleaseDC(NULL, screen);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), width) << when << " (system metrics)";
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), height) << when << " (system metrics)";
}

bool onWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// As in Wine's own tests: an answer that real Windows may give but Wine must not.
bool broken(bool condition) { return !onWine() && condition; }

TEST(DisplayModes, CurrentModeIsTheTestScreens)
{
    int bits = -1, width = -1, height = -1, refresh = -1;
    ASSERT_EQ(KYDLL(kyGetCurrentVideoMode)(&bits, &width, &height, &refresh), 1);
    EXPECT_EQ(bits, 32) << "Wine reports the 24-bit Xvfb screen at 32 bits per pixel";
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_EQ(refresh, 1) << "1: the hardware's default rate, as Wine reports an Xvfb screen";
    expectScreen(1024, 768, "the test screen");
}

// The test screen offers 1024 x 768 only (at 32, 16 and 8 bits), so the fixed modes
// tell apart: 1024 x 768 x 32 is accepted and changes nothing visible, 800 x 600 is
// refused. A request for the wrong size in either export changes its code. The broken()
// answers are what a Windows display may give instead: one that has 800 x 600 switches
// to it, one without a writable registry can't store the permanent mode.
TEST(DisplayModes, FixedModeRequestsGiveTheTestScreensCodes)
{
    struct Step {
        const char *name;
        int (*call)();
        LONG code;
        LONG windowsCode;
        int windowsWidth, windowsHeight;  // the screen after Windows' alternative answer
    } steps[] = {
        {"kyCanChangeVideoMode", [] { return KYDLL(kyCanChangeVideoMode)(); }, DISP_CHANGE_SUCCESSFUL,
         DISP_CHANGE_SUCCESSFUL, 1024, 768},
        {"kyChangeVideoModeTemporarily", [] { return KYDLL(kyChangeVideoModeTemporarily)(); }, DISP_CHANGE_SUCCESSFUL,
         DISP_CHANGE_SUCCESSFUL, 1024, 768},
        {"kyChangeVideoModePermanently", [] { return KYDLL(kyChangeVideoModePermanently)(); }, DISP_CHANGE_SUCCESSFUL,
         DISP_CHANGE_NOTUPDATED, 1024, 768},
        {"kyFullScreen", [] { return KYDLL(kyFullScreen)(); }, DISP_CHANGE_BADMODE, DISP_CHANGE_SUCCESSFUL, 800, 600},
    };
    for (const Step &step : steps) {
        const LONG code = step.call();
        HDC screen = GetDC(NULL);
        const int width = GetDeviceCaps(screen, HORZRES), height = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(NULL, screen);
        if (broken(code != step.code && code == step.windowsCode && width == step.windowsWidth &&
                   height == step.windowsHeight)) {
            expectScreen(step.windowsWidth, step.windowsHeight, std::string("after ") + step.name + " on Windows");
        } else {
            EXPECT_EQ(code, step.code) << step.name;
            expectScreen(1024, 768, std::string("after ") + step.name);  // nothing switched
        }
        ChangeDisplaySettingsA(NULL, 0);
        expectScreen(1024, 768, std::string("the stored mode back after ") + step.name);
    }
}

TEST(DisplayModes, CancelFullScreenGivesSuccessiveCursorCounts)
{
    int first = KYDLL(kyCancelFullScreen)();
    int second = KYDLL(kyCancelFullScreen)();
    EXPECT_EQ(second, first + 1);
    ShowCursor(FALSE);
    ShowCursor(FALSE);
}

}  // namespace
