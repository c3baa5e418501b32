// Display modes: the request record byte by byte, and the exports against the test
// display (a 1024 x 768 Xvfb screen that Wine reports at 32 bits per pixel).
#include "kytest.h"

#include <cstddef>

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

TEST(DisplayModes, CurrentModeIsTheScreensOwn)
{
    int bits = -1, width = -1, height = -1, refresh = -1;
    ASSERT_EQ(KYDLL(kyGetCurrentVideoMode)(&bits, &width, &height, &refresh), 1);
    HDC screen = GetDC(NULL);
    EXPECT_EQ(bits, GetDeviceCaps(screen, BITSPIXEL));
    EXPECT_EQ(width, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(height, GetDeviceCaps(screen, VERTRES));
    EXPECT_EQ(refresh, GetDeviceCaps(screen, VREFRESH));
    ReleaseDC(NULL, screen);
    EXPECT_EQ(width, 1024) << "the test display is 1024 x 768";
    EXPECT_EQ(height, 768);
}

LONG directRequest(DWORD width, DWORD height, DWORD flags)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, flags);
}

int screenWidth()
{
    HDC screen = GetDC(NULL);
    int width = GetDeviceCaps(screen, HORZRES);
    ReleaseDC(NULL, screen);
    return width;
}

TEST(DisplayModes, TestOfTheCurrentModeIsAcceptedAndChangesNothing)
{
    int bits = 0, width = 0, height = 0, refresh = 0;
    KYDLL(kyGetCurrentVideoMode)(&bits, &width, &height, &refresh);
    LONG expected = directRequest(1024, 768, CDS_TEST);
    EXPECT_EQ(KYDLL(kyCanChangeVideoMode)(), expected);
    if (bits == 32 && width == 1024 && height == 768) {
        EXPECT_EQ(KYDLL(kyCanChangeVideoMode)(), DISP_CHANGE_SUCCESSFUL) << "the screen's own mode is accepted";
    }
    EXPECT_EQ(screenWidth(), width) << "a test changes nothing";
}

TEST(DisplayModes, FullScreenAsksForEightHundredBySixHundredWithTheSystemsCode)
{
    LONG expected = directRequest(800, 600, CDS_FULLSCREEN);
    bool switched = screenWidth() == 800;
    ChangeDisplaySettingsA(NULL, 0);

    EXPECT_EQ(KYDLL(kyFullScreen)(), expected) << "the system's own code, unchanged";
    if (switched) {
        EXPECT_EQ(screenWidth(), 800) << "the switch reached 800 x 600";
    }
    ChangeDisplaySettingsA(NULL, 0);
    EXPECT_EQ(screenWidth(), 1024) << "the stored mode comes back";
}

TEST(DisplayModes, SwitchesToTheFixedModeReturnTheSystemsCodes)
{
    LONG temporary = directRequest(1024, 768, 0);
    EXPECT_EQ(KYDLL(kyChangeVideoModeTemporarily)(), temporary);
    LONG permanent = directRequest(1024, 768, CDS_UPDATEREGISTRY);
    EXPECT_EQ(KYDLL(kyChangeVideoModePermanently)(), permanent);
    EXPECT_EQ(screenWidth(), 1024);
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
