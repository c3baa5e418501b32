// kydemo.exe beside stand-in libraries: which exports each control calls, with which
// values and in which order (the stand-in records every call and touches nothing, so
// even the power buttons can be clicked), and how a missing library or export ends it.
#include "kytest.h"

#include "demodriver.h"
#include "../../demo/controls.h"

namespace {

using Lines = std::vector<std::string>;

class DemoCalls : public testing::Test {
protected:
    void SetUp() override
    {
        KYTEST_REQUIRE_PROGRAM_STARTS();
    }
    void startIn(const char *name)
    {
        folder = demo::prepareFolder(name, true);
        ASSERT_TRUE(demo::start(folder, &run)) << "kydemo.exe starts in " << folder;
        form = demo::handleText(run.form);
    }
    void TearDown() override { demo::stop(&run); }

    HWND item(int id) { return demo::control(run, id); }

    // Clicks and waits until the log has grown by `added` lines; returns those lines.
    Lines clickAndRecord(int id, size_t added, bool label = false)
    {
        size_t before = demo::calls(folder).size();
        if (label)
            demo::clickLabel(item(id));
        else
            demo::click(item(id));
        demo::waitForCalls(folder, before + added, 20000);
        Lines all = demo::calls(folder);
        return Lines(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    }

    std::string folder, form;
    demo::Run run;
};

TEST_F(DemoCalls, EveryControlCallsItsExportsWithTheDemosValues)
{
    startIn("demo_fake_full");
    ASSERT_EQ(demo::calls(folder), Lines{}) << "nothing is called at start";

    // The stand-in answers first, so the clicks below can't reach the machine.
    ASSERT_EQ(clickAndRecord(idCommand10, 1), Lines{"kyGetCurrentVideoMode"});
    EXPECT_EQ(demo::text(item(idLabelgX)), "x= 640");
    EXPECT_EQ(demo::text(item(idLabelgY)), "y= 480");
    EXPECT_EQ(demo::text(item(idLabelgC)), "c= 16") << "the first value is the colour depth";
    EXPECT_EQ(demo::text(item(idLabelgF)), "f=-75");

    struct Expect {
        int id;
        bool label;
        Lines lines;
    } table[] = {
        {idCommand1, false, {"kyFlashWindow " + form + " 5"}},
        {idCommand2, false, {"kyHideTaskBar"}},
        {idCommand3, false, {"kyShowTaskBar"}},
        {idCommand4, false, {"kyHideStartButton"}},
        {idCommand5, false, {"kyShowStartButton"}},
        {idCommand6, false, {"kyHideSystemClock"}},
        {idCommand7, false, {"kyShowSystemClock"}},
        {idCommand8, false, {"kyHideDesktopIcons"}},
        {idCommand9, false, {"kyShowDesktopIcons"}},
        {idCommand11, false, {"kyChangeVideoModePermanently 0 1024 768 0"}},
        {idCommand12, false, {"kyRemoveWindowTrans " + form}},
        {idCommand13, false, {"kyPerformReboot"}},
        {idCommand14, false, {"kyHDid 0 1", "kyHDid 0 2", "kyHDid 0 3"}},
        {idCommand15, false, {"kyMonitorOff " + form}},
        {idCommand16, false, {"kySystemPowerSuspend"}},
        {idCommand17, false, {"kySystemPowerHibernate"}},
        {idCommand18, false, {"kyWindowBmpEffect " + form + " 0 1"}},
        {idCommand20, false, {"kySystemDialogMP"}},
        {idCommand21, false, {"kySystemDialogTD"}},
        {idLogo, false, {"kyLogo"}},
        {idLabel18, true, {"kyProcSpeed"}},
        {idLabel22, true, {"kyGetWSPath"}},
        {idCheck1, false, {"kySetCapsLock -1"}},
        {idCheck1, false, {"kySetCapsLock 0"}},
        {idCheck2, false, {"kySetNumLock -1"}},
        {idCheck2, false, {"kySetNumLock 0"}},
    };
    for (const Expect &expect : table)
        EXPECT_EQ(clickAndRecord(expect.id, expect.lines.size(), expect.label), expect.lines)
            << "control " << expect.id;

    Sleep(300);
    EXPECT_EQ(demo::text(item(idLabel12)), "HDD Model:ABCD") << "bytes after an embedded zero are kept";
    EXPECT_EQ(demo::text(item(idLabel13)), "HDD S.No:S1");
    EXPECT_EQ(demo::text(item(idLabel14)), "HDD R.No:") << "nothing found: the prefix alone";
    EXPECT_EQ(demo::text(item(idLabel18)), "Processor speed (MHz): 2400");
    EXPECT_EQ(demo::text(run.form), "KY Computer Software - VB DEMO  0");
    EXPECT_EQ(demo::text(item(idCheck1)), "Caps Lock Off");
    EXPECT_EQ(demo::text(item(idCheck2)), "Num Lock Off");
    EXPECT_TRUE(demo::isRunning(run)) << "a full 260-byte path doesn't harm the demo";
}

TEST_F(DemoCalls, ScrollBarSetsTheAlphaOnEachMoveOnly)
{
    startIn("demo_fake_full");
    demo::scroll(run, SB_LINERIGHT, 0);   // already at 255: no change, no call
    demo::scroll(run, SB_ENDSCROLL, 0);   // no change, no call
    demo::scroll(run, SB_THUMBTRACK, 240);
    demo::scroll(run, SB_THUMBTRACK, 235);
    demo::scroll(run, SB_THUMBPOSITION, 235);
    demo::scroll(run, SB_PAGELEFT, 0);
    demo::scroll(run, SB_LINELEFT, 0);
    demo::scroll(run, SB_LEFT, 0);
    demo::scroll(run, SB_LINELEFT, 0);    // at 220: stays, no call
    ASSERT_TRUE(demo::waitForCalls(folder, 6, 20000));
    Sleep(300);
    std::string call = "kySetWTransparent " + form + " ";
    EXPECT_EQ(demo::calls(folder),
              (Lines{call + "240", call + "235", call + "235", call + "230", call + "229", call + "220"}));
    EXPECT_EQ(demo::scrollPosition(item(idHScroll1)), 220);
}

TEST_F(DemoCalls, EndWaitsForTheClockThenPlaysItsSequenceAndEnds)
{
    startIn("demo_fake_full");
    ASSERT_EQ(clickAndRecord(idCommand22, 1), Lines{"kySoftClock 1"});
    EXPECT_EQ(demo::text(item(idCommand22)), "Clock OFF");

    demo::click(item(idCommand19));
    demo::Box box;
    ASSERT_TRUE(demo::waitForBox(run, &box, 20000)) << "END while the clock runs is refused";
    EXPECT_EQ(box.text, "Please, Stop Clock First");
    EXPECT_EQ(box.caption, "kydemo");
    Sleep(300);
    EXPECT_EQ(demo::calls(folder), Lines{"kySoftClock 1"}) << "the refused END calls nothing";

    // The second click runs inside the first call's loop and switches the clock off.
    EXPECT_EQ(clickAndRecord(idCommand22, 2), (Lines{"kySoftClock 0", "kySoftClock returns"}));
    EXPECT_EQ(demo::text(item(idCommand22)), "Clock ON");

    size_t before = demo::calls(folder).size();
    demo::click(item(idCommand19));
    DWORD code = 12345;
    ASSERT_TRUE(demo::waitForExit(&run, 30000, &code)) << "the END sequence ends the program";
    EXPECT_EQ(code, 0u);
    Lines all = demo::calls(folder);
    Lines sequence(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    EXPECT_EQ(sequence, (Lines{"kyDesktopBmpEffect 11 0", "kyDesktopBmpEffect 12 1", "kyDesktopBmpEffect 13 0",
                               "kyDesktopBmpEffect 14 0", "kySetWTransparent " + form + " 255",
                               "kyWindowD1 " + std::to_string(idKyslika) +
                                   " [First, picture go away line by line,then we go FAST]",
                               "kyWindowErase " + form}))
        << "the closing calls in order, the status line set before the picture is wiped";
}

TEST_F(DemoCalls, WinEffectNumbersWrapAfterTwentyTwo)
{
    startIn("demo_fake_full");
    for (int clickNo = 1; clickNo <= 24; ++clickNo) {
        int expected = clickNo <= 23 ? clickNo - 1 : 0;
        ASSERT_EQ(clickAndRecord(idCommand18, 1),
                  Lines{"kyWindowBmpEffect " + form + " " + std::to_string(expected) + " 1"})
            << "click " << clickNo;
    }
}

TEST_F(DemoCalls, MissingExportIsReportedAndEndsTheProgram)
{
    startIn("demo_fake_partial");
    ASSERT_EQ(clickAndRecord(idCommand10, 1), Lines{"kyGetCurrentVideoMode"}) << "the exports present work";
    demo::clickLabel(item(idLabel18));
    demo::Box box;
    ASSERT_TRUE(demo::waitForBox(run, &box, 20000)) << "the missing kyProcSpeed is reported";
    EXPECT_EQ(box.text, "Can't find DLL entry point kyProcSpeed in kydoru.dll");
    DWORD code = 0;
    ASSERT_TRUE(demo::waitForExit(&run, 20000, &code)) << "and the program ends";
    EXPECT_NE(code, 0u);
}

TEST_F(DemoCalls, MissingLibraryIsReportedAtTheFirstCallOnly)
{
    startIn("demo_no_library");
    Sleep(500);
    EXPECT_TRUE(demo::isRunning(run)) << "the library isn't loaded at start";
    demo::click(item(idCommand2));
    demo::Box box;
    ASSERT_TRUE(demo::waitForBox(run, &box, 20000)) << "the first call reports the missing library";
    EXPECT_EQ(box.text, "File not found: kydoru.dll");
    EXPECT_EQ(box.caption, "kydemo");
    DWORD code = 0;
    ASSERT_TRUE(demo::waitForExit(&run, 20000, &code)) << "and the program ends";
    EXPECT_NE(code, 0u);
}

}  // namespace
