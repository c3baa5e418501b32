// Where kyProcSpeed reads the processor clock rate; tests point it at a key of their own.
#pragma once
#include <windows.h>

struct ProcSpeedKey {
    HKEY root;
    const char *subkey;
    const char *valueName;
};
extern const ProcSpeedKey systemProcSpeedKey;
extern ProcSpeedKey procSpeedKey;
