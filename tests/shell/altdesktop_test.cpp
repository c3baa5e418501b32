// The alternate desktop pair. The calls run on a fresh thread: a thread that owns
// windows or hooks can't be moved to another desktop. Wine 8 accepts SwitchDesktop but
// keeps the input on "Default", so the input half is checked only where the system
// really switches.
#include "kytest.h"

#include <string>
#include <thread>
#include <vector>

#include "handles.h"
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
    // Wine accepts SwitchDesktop but leaves the input where it was; anywhere else is a fault.
    EXPECT_TRUE(seen.inputDuring == "KYDesktopName" || seen.inputDuring == seen.inputBefore)
        << "input went to \"" << seen.inputDuring << "\"";
}

TEST(AlternateDesktop, SecondOnWhileOneIsActiveChangesNothing)
{
    std::string threadBefore, threadBetween, threadAfter;
    int first = -1, second = -1, off = -1, offAgain = -1;
    HDESK alternateAfterFirst = NULL, alternateAfterSecond = NULL, inputAfterFirst = NULL, inputAfterSecond = NULL;
    std::thread([&] {
        threadBefore = threadDesktopName();
        first = kyNewDesktopOn();
        alternateAfterFirst = altDesktop;
        inputAfterFirst = savedInputDesktop;
        second = kyNewDesktopOn();
        alternateAfterSecond = altDesktop;
        inputAfterSecond = savedInputDesktop;
        threadBetween = threadDesktopName();
        off = kyNewDesktopOff();
        threadAfter = threadDesktopName();
        offAgain = kyNewDesktopOff();
    }).join();
    EXPECT_NE(first, 0);
    EXPECT_EQ(second, 0) << "a second on while one is active is refused";
    EXPECT_EQ(alternateAfterSecond, alternateAfterFirst) << "the saved handles are kept";
    EXPECT_EQ(inputAfterSecond, inputAfterFirst);
    EXPECT_EQ(threadBetween, "KYDesktopName");
    EXPECT_NE(off, 0);
    EXPECT_EQ(threadAfter, threadBefore) << "off returns to the desktop the thread had before the first on";
    EXPECT_NE(threadBefore, "KYDesktopName");
    EXPECT_EQ(offAgain, 0);
    EXPECT_EQ(altDesktop, nullptr) << "spent handles are not kept";
    EXPECT_EQ(savedInputDesktop, nullptr);
}

// The desktop calls of the library, failing on demand and recording what they were asked.
struct FailingDesktopCalls {
    int switchFailures = 0, moveFailures = 0, closeFailures = 0;  // how many calls still fail
    std::vector<std::string> calls;
};
FailingDesktopCalls failing;

BOOL WINAPI failingSwitch(HDESK desktop)
{
    failing.calls.push_back("switch " + desktopName(desktop));
    if (failing.switchFailures > 0) {
        --failing.switchFailures;
        return FALSE;
    }
    return SwitchDesktop(desktop);
}
BOOL WINAPI failingMove(HDESK desktop)
{
    failing.calls.push_back("move " + desktopName(desktop));
    if (failing.moveFailures > 0) {
        --failing.moveFailures;
        return FALSE;
    }
    return SetThreadDesktop(desktop);
}
BOOL WINAPI failingClose(HDESK desktop)
{
    failing.calls.push_back("close " + desktopName(desktop));
    if (failing.closeFailures > 0) {
        --failing.closeFailures;
        return FALSE;
    }
    return CloseDesktop(desktop);
}

class AlternateDesktopFailures : public testing::Test {
protected:
    DesktopCalls saved = desktopCalls;
    void SetUp() override
    {
        failing = FailingDesktopCalls();
        desktopCalls = {failingSwitch, failingMove, failingClose};
    }
    void TearDown() override { desktopCalls = saved; }
};

TEST_F(AlternateDesktopFailures, ThreadThatCantMoveIsNotSwitchedAndNothingStaysOpen)
{
    std::string threadBefore, threadAfter;
    int on = -1;
    long handlesBefore = 0, handlesAfter = 0;
    std::thread([&] {
        threadBefore = threadDesktopName();
        // A first refused call, so that what the system sets up for desktop calls once
        // (WoW64 Wine keeps a handle) is in place before the handles are counted.
        failing.moveFailures = 1;
        kyNewDesktopOn();
        failing.calls.clear();
        handlesBefore = kytest::openHandleCount();
        failing.moveFailures = 1;
        on = kyNewDesktopOn();
        handlesAfter = kytest::openHandleCount();
        threadAfter = threadDesktopName();
    }).join();
    EXPECT_EQ(on, 0) << "the thread can't be moved, so there is no switch";
    ASSERT_EQ(failing.calls.size(), 3u) << "a move and two closes, no SwitchDesktop";
    EXPECT_EQ(failing.calls[0], "move KYDesktopName");
    EXPECT_EQ(failing.calls[1], "close KYDesktopName");
    EXPECT_EQ(failing.calls[2].substr(0, 6), "close ") << "the opened input desktop is closed too";
    EXPECT_EQ(threadAfter, threadBefore);
    EXPECT_EQ(altDesktop, nullptr) << "nothing to switch back from";
    if (handlesBefore >= 0) {
        EXPECT_EQ(handlesAfter, handlesBefore) << "both opened desktops were closed";
    }
    failing.calls.clear();
    EXPECT_EQ(kyNewDesktopOff(), 0);
    EXPECT_TRUE(failing.calls.empty()) << "off after a refused on has nothing to do";
}

TEST_F(AlternateDesktopFailures, RefusedSwitchPutsTheThreadBack)
{
    std::string threadBefore, threadAfter;
    int on = -1;
    std::thread([&] {
        threadBefore = threadDesktopName();
        failing.switchFailures = 1;
        on = kyNewDesktopOn();
        threadAfter = threadDesktopName();
    }).join();
    EXPECT_EQ(on, 0);
    EXPECT_EQ(threadAfter, threadBefore) << "the thread is back on its own desktop";
    EXPECT_EQ(altDesktop, nullptr);
    EXPECT_EQ(savedInputDesktop, nullptr);
}

TEST_F(AlternateDesktopFailures, OffCanBeCalledAgainAfterEachFailedStep)
{
    std::string threadBefore, threadDuring, threadAfter, inputName;
    int on = -1;
    std::vector<int> offs;
    std::thread([&] {
        threadBefore = threadDesktopName();
        on = kyNewDesktopOn();
        threadDuring = threadDesktopName();
        inputName = desktopName(savedInputDesktop);
        failing.calls.clear();
        failing.switchFailures = 1;
        offs.push_back(kyNewDesktopOff());  // switching input back fails
        failing.moveFailures = 1;
        offs.push_back(kyNewDesktopOff());  // moving the thread back fails
        failing.closeFailures = 1;
        offs.push_back(kyNewDesktopOff());  // closing the alternate desktop fails
        offs.push_back(kyNewDesktopOff());  // now it closes
        offs.push_back(kyNewDesktopOff());  // nothing left
        threadAfter = threadDesktopName();
    }).join();
    ASSERT_NE(on, 0);
    EXPECT_EQ(threadDuring, "KYDesktopName");
    EXPECT_EQ(offs, (std::vector<int>{0, 0, 0, 1, 0}));
    const std::vector<std::string> expected = {
        "switch " + inputName,                                                  // fails: all kept
        "switch " + inputName, "close " + inputName, "move " + threadBefore,    // the move fails
        "move " + threadBefore, "close KYDesktopName",                          // the close fails
        "close KYDesktopName",                                                  // closed at last
    };
    EXPECT_EQ(failing.calls, expected) << "each step is tried again until it succeeds, and done only once";
    EXPECT_EQ(threadAfter, threadBefore);
    EXPECT_EQ(altDesktop, nullptr);
    EXPECT_EQ(savedInputDesktop, nullptr);
    EXPECT_EQ(savedThreadDesktop, nullptr);
}

}  // namespace
