// kyctl.exe run as a child process, as a script runs it, for the tests that watch it
// from outside: its exit code, its stdout and stderr as bytes, and the folders it runs in.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "../../kyctl/cli.h"

namespace kyctltest {

struct Result {
    bool finished = false;
    DWORD code = 999;
    std::string out, err;
};

// How long one kyctl run may take: a 32-bit start is emulated and alone takes about a
// minute on a busy machine.
DWORD runLimitMs();

// Runs folder\kyctl.exe with `args` (UTF-8, already quoted where needed; passed on as
// UTF-16), pumping this thread's messages meanwhile (the test windows live on it), for
// at most limitMs.
Result runIn(const std::string &folder, const std::string &args, DWORD limitMs = runLimitMs());
// The same in the test program's own folder, beside the real kydoru.dll.
Result run(const std::string &args, DWORD limitMs = runLimitMs());

// A fresh folder under the program's folder holding a copy of kyctl.exe and, when given,
// the DLL from `dllFolder` (a stand-in's folder).
std::string folderWith(const char *name, const char *dllFolder);

// A top-level test window of this thread, its title in UTF-8, brought to the top; with
// a width of 0 a pop-up of no size (a frame would give it the system's smallest size).
HWND testWindow(const std::string &title, const char *className = "kyctlTestTarget", DWORD exStyle = 0,
                int width = 240, HWND owner = NULL, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE);

std::string readAll(const std::string &path);
bool writeAll(const std::string &path, const std::string &bytes);
std::string handleText(HWND window);
// Whether the bytes are UTF-8 (as MultiByteToWideChar reads it, refusing bad bytes).
bool isUtf8(const std::string &bytes);

// A command line's words as a shell splits them (quotes group, and go), and the line
// parsed by kyctl's parser.
std::vector<std::string> splitLine(const std::string &line);
kyctl::Parsed parseLine(const std::string &line, kyctl::Request *request);

}  // namespace kyctltest
