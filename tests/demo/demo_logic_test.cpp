// The demo's pure logic: number and byte texts, the win effect counter, the scroll bar's
// next value, the twips conversion and the form's table.
#include "kytest.h"

#include <climits>
#include <set>
#include <string>

#include "../../demo/controls.h"
#include "../../demo/formtext.h"
#include "../../demo/layout.h"
#include "../../demo/library.h"

namespace {

std::string number(const char *prefix, int value)
{
    char out[64];
    formatNumber(prefix, value, out, sizeof out);
    return out;
}

TEST(DemoText, NumbersTakeABlankOrTheirMinusSign)
{
    EXPECT_EQ(number("x=", 1024), "x= 1024");
    EXPECT_EQ(number("f=", 0), "f= 0") << "0 counts as positive";
    EXPECT_EQ(number("f=", -75), "f=-75") << "a negative number brings only its minus";
    EXPECT_EQ(number("Processor speed (MHz):", 2400), "Processor speed (MHz): 2400");
    EXPECT_EQ(number("", INT_MIN), "-2147483648");
    char small[6];
    formatNumber("x=", 1024, small, sizeof small);
    EXPECT_STREQ(small, "x= 10") << "cut to fit, still terminated";
}

TEST(DemoText, BytesSkipZerosInsteadOfEndingThere)
{
    char out[300];
    unsigned char empty[255] = {};
    bytesToText("HDD Model:", empty, sizeof empty, out, sizeof out);
    EXPECT_STREQ(out, "HDD Model:") << "an untouched buffer leaves the prefix alone";

    unsigned char split[255] = {'A', 'B', 0, 'C', 'D'};
    split[254] = 'Z';
    bytesToText("HDD S.No:", split, sizeof split, out, sizeof out);
    EXPECT_STREQ(out, "HDD S.No:ABCDZ") << "every byte is walked, to the last one";

    unsigned char accented[3] = {0xE9, 0, 0x41};
    bytesToText("", accented, sizeof accented, out, sizeof out);
    EXPECT_STREQ(out, "\xE9" "A") << "bytes above 127 are kept as ANSI characters";

    unsigned char full[255];
    memset(full, 'x', sizeof full);
    char tight[12];
    bytesToText("HDD R.No:", full, sizeof full, tight, sizeof tight);
    EXPECT_STREQ(tight, "HDD R.No:xx") << "cut to fit the output, terminated";
}

TEST(DemoText, EffectCounterRunsFromZeroToTwentyTwoAndWraps)
{
    short number = -1;
    std::vector<short> used;
    for (int click = 1; click <= 25; ++click) {
        number = nextEffectNumber(number);
        used.push_back(number);
    }
    EXPECT_EQ(used[0], 0) << "the first click plays effect 0";
    EXPECT_EQ(used[21], 21);
    EXPECT_EQ(used[22], 22) << "the 23rd click uses 22";
    EXPECT_EQ(used[23], 0) << "the 24th click starts again at 0";
    EXPECT_EQ(used[24], 1);

    char title[64];
    effectTitle(5, title, sizeof title);
    EXPECT_STREQ(title, "KY Computer Software - VB DEMO  5") << "two blanks before the number";
}

TEST(DemoText, ScrollBarStaysBetweenItsLimits)
{
    EXPECT_EQ(scrollTarget(SB_LINELEFT, 220, 0, 220, 255, 1, 5), 220) << "never below 220";
    EXPECT_EQ(scrollTarget(SB_LINERIGHT, 255, 0, 220, 255, 1, 5), 255);
    EXPECT_EQ(scrollTarget(SB_LINELEFT, 240, 0, 220, 255, 1, 5), 239);
    EXPECT_EQ(scrollTarget(SB_PAGELEFT, 223, 0, 220, 255, 1, 5), 220);
    EXPECT_EQ(scrollTarget(SB_PAGERIGHT, 230, 0, 220, 255, 1, 5), 235);
    EXPECT_EQ(scrollTarget(SB_THUMBTRACK, 255, 231, 220, 255, 1, 5), 231);
    EXPECT_EQ(scrollTarget(SB_THUMBPOSITION, 255, 100, 220, 255, 1, 5), 220) << "a thumb value is clamped too";
    EXPECT_EQ(scrollTarget(SB_LEFT, 240, 0, 220, 255, 1, 5), 220);
    EXPECT_EQ(scrollTarget(SB_RIGHT, 240, 0, 220, 255, 1, 5), 255);
    EXPECT_EQ(scrollTarget(SB_ENDSCROLL, 240, 222, 220, 255, 1, 5), 240) << "end of scroll moves nothing";
}

TEST(DemoLayout, TwipsBecomePixelsAtTheScreensResolution)
{
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    EXPECT_EQ(twipsToPixels(10695, 96), 713);
    EXPECT_EQ(twipsToPixels(8100, 96), 540);
    EXPECT_EQ(twipsToPixels(8100, 120), 675);
    EXPECT_EQ(twipsToPixels(255, 144), 26) << "25.5 rounds up";
    EXPECT_EQ(twipsToPixels(1440, 0), 96) << "no resolution known: 96 dots per inch";
    EXPECT_EQ(twipsToPixels(1440, -5), 96);
}

TEST(DemoLayout, FocusOrderAndStartingStatesAreTheDesignedOnes)
{
    const char *tabOrder[] = {"Check1",    "Check2",    "Command1",  "Command2",  "Command3",  "Command4",
                              "Command5",  "Command6",  "Command7",  "Command8",  "Command9",  "Command10",
                              "Command11", "HScroll1",  "Command12", "Command13", "Command14", "Command15",
                              "Command16", "Command17", "Command18", "kyslika",   "Command19", "Command20",
                              "Command21", "Logo",      "Command22"};
    std::vector<std::string> focusable;
    std::set<int> ids;
    for (size_t i = 0; i < formControlCount; ++i) {
        EXPECT_TRUE(ids.insert(formControls[i].id).second) << formControls[i].name << " has a unique identifier";
        if (takesFocus(formControls[i].kind))
            focusable.push_back(formControls[i].name);
        bool isShow = formControls[i].id == idCommand3 || formControls[i].id == idCommand5 ||
                      formControls[i].id == idCommand7 || formControls[i].id == idCommand9;
        EXPECT_EQ(formControls[i].enabled, !isShow) << formControls[i].name << ": only the Show buttons start disabled";
    }
    ASSERT_EQ(focusable.size(), sizeof tabOrder / sizeof tabOrder[0]);
    for (size_t i = 0; i < focusable.size(); ++i)
        EXPECT_EQ(focusable[i], tabOrder[i]) << "tab stop " << i;
    EXPECT_EQ(formLineCount, 4u);
    ASSERT_NE(findControl(idLabel6), nullptr);
    EXPECT_STREQ(findControl(idLabel6)->caption, "Set Window Transparent ") << "the trailing blank stays";
}

TEST(DemoBinding, FailureMessagesNameWhatIsMissing)
{
    char text[256];
    bindingFailureText(nullptr, text, sizeof text);
    EXPECT_STREQ(text, "File not found: kydoru.dll");
    bindingFailureText("kyHDid", text, sizeof text);
    EXPECT_STREQ(text, "Can't find DLL entry point kyHDid in kydoru.dll");
}

}  // namespace
