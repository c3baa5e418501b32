// Helpers shared by every test program: the library loaded by name as a user's program
// loads it, plus everything in kywindows.h (pumping, the message-box watcher, windows).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "exports.h"
#include "kywindows.h"

namespace kytest {

// kydoru.dll from the test program's folder, loaded once by name.
HMODULE library();
// The DLL's export `name`; records a test failure and returns null when it is missing.
FARPROC exportAddress(const char *name);

// KYDLL(kyFoo)(args) calls the DLL's kyFoo through the prototype of the public header,
// as a caller binding by name does (the test program's own static copy is not used).
#define KYDLL(name) (reinterpret_cast<decltype(&::name)>(::kytest::exportAddress(#name)))

}  // namespace kytest
