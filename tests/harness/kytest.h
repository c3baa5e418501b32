// Helpers shared by every test program: the library loaded by name as a user's program
// loads it, message pumping with time limits, a watcher that answers message boxes, and
// plain test windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exports.h"

namespace kytest {

// kydoru.dll from the test program's folder, loaded once by name.
HMODULE library();
// The DLL's export `name`; records a test failure and returns null when it is missing.
FARPROC exportAddress(const char *name);

// KYDLL(kyFoo)(args) calls the DLL's kyFoo through the prototype of the public header,
// as a caller binding by name does (the test program's own static copy is not used).
#define KYDLL(name) (reinterpret_cast<decltype(&::name)>(::kytest::exportAddress(#name)))

// Dispatches this thread's messages for `ms` milliseconds.
void pumpMessages(DWORD ms);
// Dispatches messages until `done` holds or `limitMs` pass; returns whether it held.
bool waitUntil(const std::function<bool()> &done, DWORD limitMs);

// Message boxes shown by this process are answered by a watcher thread while it runs;
// each one it closed is remembered with its caption and text.
struct SeenBox {
    std::string caption;
    std::string text;
};
void startBoxWatcher();
void stopBoxWatcher();
std::vector<SeenBox> seenBoxes();
void clearSeenBoxes();
// Waits (pumping this thread) until the watcher has closed `count` boxes in all.
bool waitForBoxes(size_t count, DWORD limitMs);

// A visible top-level window of this thread whose client area is filled with `fill`.
HWND createTestWindow(int x, int y, int width, int height, COLORREF fill,
                      DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exStyle = 0);

// The folder of the running test program, with a trailing backslash.
std::string programFolder();

// True in the 32-bit build.
constexpr bool is32Bit() { return sizeof(void *) == 4; }

}  // namespace kytest
