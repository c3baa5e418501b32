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

}  // namespace kytest
