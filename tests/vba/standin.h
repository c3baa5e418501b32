// What the stand-in kydoru.dll (standin.cpp) saw of the last call made to it.
#pragma once

struct StandInCall {
    char name[40];          // the export called
    int argumentCount;      // how many arguments it takes
    unsigned arguments[5];  // their values as 32-bit words, pointers included
    unsigned calls;         // calls counted since the stand-in was loaded
};

// The one extra export of the stand-in.
typedef const StandInCall *(__cdecl *StandInLastCallFn)(void);
#define KY_STANDIN_LAST_CALL "kyStandInLastCall"

// What the stand-in's export of this ordinal returns (its void exports return nothing).
inline unsigned standInResult(int ordinal)
{
    return 0x5000u + static_cast<unsigned>(ordinal);
}
