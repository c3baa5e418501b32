// kydemo.exe and kyctl.exe seen from inside, at the screen resolution of the run (96 dpi,
// or 144 in the high-DPI entry, KY_TEST_DPI): a stand-in kydoru.dll beside them reports
// their DPI awareness, the system DPI, which common controls draw the demo's buttons and
// how each caption fits its control in the font it is drawn with (probe.cpp).
#include "kytest.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "demodriver.h"
#include "../../demo/controls.h"

namespace {

int runDpi()
{
    const char *dpi = getenv("KY_TEST_DPI");
    return dpi ? atoi(dpi) : 96;
}

// A folder with the probe as kydoru.dll beside both programs, one per resolution so that
// the two runs may go side by side.
std::string probeFolder()
{
    std::string folder = demo::prepareFolder(("inside-" + std::to_string(runDpi())).c_str(), true);
    CopyFileA((kytest::programFolder() + "kyctl.exe").c_str(), (folder + "kyctl.exe").c_str(), FALSE);
    CopyFileA((kytest::programFolder() + "demo_probe\\kydoru.dll").c_str(), (folder + "kydoru.dll").c_str(), FALSE);
    DeleteFileA((folder + "inside.log").c_str());
    return folder;
}

// inside.log once the probe has finished it ("end"), else what there is after `limitMs`.
std::vector<std::string> insideReport(const std::string &folder, DWORD limitMs)
{
    std::vector<std::string> lines;
    kytest::waitUntil(
        [&] {
            lines.clear();
            FILE *log = fopen((folder + "inside.log").c_str(), "r");
            char line[600];
            while (log && fgets(line, sizeof line, log))
                lines.push_back(std::string(line, strcspn(line, "\r\n")));
            if (log)
                fclose(log);
            return !lines.empty() && lines.back() == "end";
        },
        limitMs);
    return lines;
}

bool has(const std::vector<std::string> &lines, const std::string &wanted)
{
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

// The demo's report, made once: "Flash Window" calls the probe's kyFlashWindow.
const std::vector<std::string> &demoReport()
{
    static std::vector<std::string> lines;
    if (lines.empty()) {
        std::string folder = probeFolder();
        demo::Run run;
        if (demo::start(folder, &run)) {
            demo::click(demo::control(run, idCommand1));
            lines = insideReport(folder, 30000);
        }
        demo::stop(&run);
    }
    return lines;
}

// What an aware process sees: per-monitor (v2 where the system has it: Windows 10 1703
// on; Wine 8 has not), at the run's resolution.
void expectPerMonitorAware(const std::vector<std::string> &lines)
{
    const std::string dpi = std::to_string(runDpi());
    EXPECT_TRUE(has(lines, "awareness 2")) << "DPI_AWARENESS_PER_MONITOR_AWARE";
    EXPECT_FALSE(has(lines, "permonitorv2 no")) << "per-monitor v2 wherever the system offers it";
    EXPECT_TRUE(has(lines, "dpi " + dpi + " screen " + dpi)) << "the system and the screen DC at " << dpi << " dpi";
}

TEST(DemoInside, RunsPerMonitorAwareWithTheCommonControls6)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    const std::vector<std::string> &lines = demoReport();
    ASSERT_FALSE(lines.empty()) << "the probe reported from inside kydemo.exe";
    expectPerMonitorAware(lines);
    EXPECT_TRUE(has(lines, runDpi() == 144 ? "form 1070 810" : "form 713 540")) << "10695 x 8100 twips";
    std::string buttons = "buttons (none reported)";
    for (const std::string &line : lines)
        buttons = line.rfind("buttons ", 0) == 0 ? line : buttons;
    CharLowerBuffA(&buttons[0], static_cast<DWORD>(buttons.size()));
    EXPECT_NE(std::string::npos, buttons.find("common-controls_6595b64144ccf1df_6."))
        << "the buttons' window procedure is the side-by-side comctl32 6's: " << buttons;
}

// Captions no font can make fit, and why: only their other dimension is checked.
struct Unfitting {
    int id;
    bool widthFits;
    const char *why;
};
const Unfitting unfitting[] = {
    {idCommand19, false, "\"END\" is 255 twips wide, 17 pixels at 96 dpi: 11 inside the frame"},
    {idLabel6, true, "its own 12-pt bold line is taller than its 255-twip box: the descenders are cut"},
};

TEST(DemoInside, EveryCaptionFitsItsControl)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    // The captions the form once cut, as they must read.
    const std::pair<int, std::string> named[] = {{idCommand10, "Get Video Mode"}, {idCommand11, "Set Video Mode"},
                                                 {idLabel6, "Set Window Transparent "}, {idLabel1, "KY computer Software"}};
    int measured = 0;
    for (const std::string &line : demoReport()) {
        int id, clientWidth, clientHeight, width, lineHeight, extent, lines, widest, used = 0;
        if (sscanf(line.c_str(), "control %d shown %d %d width %d line %d extent %d lines %d widest %d caption %n", &id,
                   &clientWidth, &clientHeight, &width, &lineHeight, &extent, &lines, &widest, &used) != 8 || !used)
            continue;
        ++measured;
        SCOPED_TRACE(line);
        for (const auto &caption : named) {
            if (caption.first == id) {
                EXPECT_EQ(caption.second, line.substr(static_cast<size_t>(used)));
            }
        }
        const Unfitting *exception = nullptr;
        for (const Unfitting &one : unfitting)
            exception = one.id == id ? &one : exception;
        if (!exception || exception->widthFits) {
            EXPECT_LE(widest, width) << "every line within the control's width";
        }
        if (!exception) {
            EXPECT_LE(lines * lineHeight, clientHeight) << "every line within the height that shows";
        }
    }
    EXPECT_EQ(41, measured) << "the form's captioned buttons, check boxes and labels";
}

TEST(DemoInside, KyctlRunsPerMonitorAware)
{
    KYTEST_REQUIRE_PROGRAM_STARTS();
    std::string folder = probeFolder(), commandLine = "\"" + folder + "kyctl.exe\" mode";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, folder.c_str(),
                               &startup, &process));
    WaitForSingleObject(process.hProcess, 60000);
    TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::vector<std::string> lines = insideReport(folder, 5000);
    ASSERT_FALSE(lines.empty()) << "\"kyctl mode\" called the probe";
    expectPerMonitorAware(lines);
}

}  // namespace
