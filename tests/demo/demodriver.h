// Drives kydemo.exe as a user would, from the test program: starts it as a child process
// in a chosen folder (beside the real DLL, a stand-in DLL or none), finds its form,
// clicks controls with messages, reads captions and states back, and answers the
// child's message boxes. Every wait has a time limit.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace demo {

struct Run {
    PROCESS_INFORMATION process = {};
    HWND form = NULL;
};

// Folder (with trailing backslash) under the test program's folder; created empty of
// calls.log, with a copy of kydemo.exe when `copyDemo`.
std::string prepareFolder(const char *name, bool copyDemo);

// Starts folder\kydemo.exe with that folder as working directory and waits for Form1.
bool start(const std::string &folder, Run *run);
// Ends the child (if it still runs) and closes its handles.
void stop(Run *run);
bool waitForExit(Run *run, DWORD limitMs, DWORD *exitCode);
bool isRunning(const Run &run);

HWND control(const Run &run, int id);
std::string text(HWND window);
bool waitForText(HWND window, const std::string &expected, DWORD limitMs);
bool isChecked(HWND checkBox);
int scrollPosition(HWND bar);
// The control that has the keyboard focus in the demo's thread.
HWND focus(const Run &run);

// Clicks by message, posted so that a handler that runs a loop of its own can't block us.
void click(HWND button);
void clickLabel(HWND label);
void scroll(const Run &run, int request, int position);
void pressTab(const Run &run);

struct Box {
    std::string caption, text;
};
// Waits for a message box of the child, reads it and (when `answer`) presses OK.
bool waitForBox(const Run &run, Box *box, DWORD limitMs, bool answer = true);

// Lines of the stand-in DLL's calls.log in `folder`.
std::vector<std::string> calls(const std::string &folder);
// Waits until calls.log has at least `count` lines.
bool waitForCalls(const std::string &folder, size_t count, DWORD limitMs);
std::string handleText(HWND window);

// The first of `names` that kydoru.dll beside the test program lacks, or "".
std::string firstMissingExport(std::initializer_list<const char *> names);

}  // namespace demo

// End-to-end tests through the real DLL skip while an export they need isn't built.
#define DEMO_REQUIRE_EXPORTS(...)                                                 \
    do {                                                                          \
        std::string missing_ = demo::firstMissingExport({__VA_ARGS__});           \
        if (!missing_.empty())                                                    \
            GTEST_SKIP() << "export " << missing_ << " not built yet";            \
    } while (0)
