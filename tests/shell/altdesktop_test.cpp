// The alternate desktop pair. The calls run on a fresh thread: a thread that owns
// windows or hooks can't be moved to another desktop. Wine 8 accepts SwitchDesktop but
// keeps the input on "Default", so the input half is checked only where the system
// really switches.
#include "kytest.h"

#include <string>
#include <thread>

#include "shell/altdesktop.h"

namespace {

std::string desktopName(HDESK desktop)
{
    char name[256] = "";
    DWORD needed = 0;
    if (!desktop || !GetUserObjectInformationA(desktop, UOI_NAME, name, sizeof name, &needed))
        return "<none>";
    return name;
}

std::string inputDesktopName()
{
    HDESK input = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    std::string name = desktopName(input);
    if (input)
        CloseDesktop(input);
    return name;
}

std::string threadDesktopName()
{
    return desktopName(GetThreadDesktop(GetCurrentThreadId()));
}

struct Observed {
    int offFirst = -1, on = -1, off = -1, offAgain = -1;
    std::string threadBefore, inputBefore, threadDuring, inputDuring, threadAfter, inputAfter;
};

TEST(AlternateDesktop, OnThenOffComesBackAndOffAloneFails)
{
    auto on = KYDLL(kyNewDesktopOn);
    auto off = KYDLL(kyNewDesktopOff);
    ASSERT_TRUE(on && off);
    Observed seen;
    std::thread([&] {
        seen.threadBefore = threadDesktopName();
        seen.inputBefore = inputDesktopName();
        seen.offFirst = off();
        seen.on = on();
        seen.threadDuring = threadDesktopName();
        seen.inputDuring = inputDesktopName();
        seen.off = off();
        seen.threadAfter = threadDesktopName();
        seen.inputAfter = inputDesktopName();
        seen.offAgain = off();
    }).join();

    EXPECT_EQ(seen.offFirst, 0) << "off without on";
    EXPECT_NE(seen.on, 0) << "the switch is accepted";
    EXPECT_EQ(seen.threadDuring, "KYDesktopName") << "the calling thread moves to the new desktop";
    EXPECT_NE(seen.off, 0) << "the alternate desktop is closed";
    EXPECT_EQ(seen.threadAfter, seen.threadBefore) << "the thread is back on its own desktop";
    EXPECT_EQ(seen.inputAfter, seen.inputBefore) << "input is back on the desktop that had it";
    EXPECT_EQ(seen.offAgain, 0) << "a second off has nothing left to close";
    if (seen.inputDuring != "KYDesktopName")
        GTEST_SKIP() << "input stayed on \"" << seen.inputDuring << "\": this Wine accepts SwitchDesktop "
                     << "without moving the input, so only the thread half was shown";
}

TEST(AlternateDesktop, SecondOnOverwritesTheSavedDesktops)
{
    std::string threadBefore, threadAfter;
    int first = -1, second = -1, off = -1;
    std::thread([&] {
        HDESK original = GetThreadDesktop(GetCurrentThreadId());
        threadBefore = desktopName(original);
        first = kyNewDesktopOn();
        HDESK firstAlternate = altDesktop;
        second = kyNewDesktopOn();
        off = kyNewDesktopOff();
        threadAfter = threadDesktopName();
        // Put the thread back by hand and release the first desktop's handle.
        SetThreadDesktop(original);
        CloseDesktop(firstAlternate);
    }).join();
    EXPECT_NE(first, 0);
    EXPECT_NE(second, 0);
    EXPECT_NE(off, 0);
    EXPECT_EQ(threadAfter, "KYDesktopName") << "off returns to what the second on saved: the alternate desktop";
    EXPECT_NE(threadBefore, "KYDesktopName");
    EXPECT_EQ(altDesktop, nullptr) << "spent handles are not kept";
    EXPECT_EQ(savedInputDesktop, nullptr);
}

}  // namespace
