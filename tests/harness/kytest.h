// Helpers shared by every test program: the library loaded by name as a user's program
// loads it, plus everything in kywindows.h (pumping, the message-box watcher, windows).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "exportbind.h"
#include "kywindows.h"

namespace kytest {

// kydoru.dll from the test program's folder, loaded once by name.
HMODULE library();
// The DLL's export `name`; records a test failure and returns null when it is missing.
FARPROC exportAddress(const char *name);

// KYDLL(kyFoo)(args) calls the DLL's kyFoo through the export table's prototype (the
// header's, checked at compile time), as a caller binding by name does; the test
// program's own static copy is not used. A name not in the table does not compile.
#define KYDLL(name) (reinterpret_cast<kydoru_fn_##name>(::kytest::exportAddress(KYDORU_EXPORT_NAME(name))))

// Whether the running case may start other programs (the demo, kyctl) in this run. The
// 32-bit run is one emulated process where each start costs about a minute, so there
// only the cases listed in kytest.cpp do: what only a 32-bit build can get wrong. In the
// 64-bit suite every case does.
bool startsProgramsInThisRun();

}  // namespace kytest

#define KYTEST_REQUIRE_PROGRAM_STARTS()                                                                 \
    if (!::kytest::startsProgramsInThisRun())                                                           \
    GTEST_SKIP() << "the 32-bit run starts other programs for a chosen few cases only (each start is " \
                    "emulated); this one runs in the 64-bit suite"
