// A stand-in kydoru.dll for the stdcall companion's tests: the fifty exports, cdecl as the
// real ones, each only noting its name and arguments and returning a value of its own, so
// that every export (the reboot and power exports included) can be called through the
// companion without touching the machine.
#include <windows.h>

#include <string.h>

#include "exporttable.h"
#include "standin.h"

namespace {

StandInCall last;

void recordName(const char *name)
{
    memset(&last, 0, sizeof last - sizeof last.calls);
    strncpy(last.name, name, sizeof last.name - 1);
    last.calls++;
}

template <typename T>
unsigned word(T value)
{
    return static_cast<unsigned>((UINT_PTR)value);
}

template <typename... A>
void recordArguments(A... values)
{
    unsigned words[] = {0u, word(values)...};
    last.argumentCount = sizeof...(A);
    for (unsigned i = 0; i < sizeof...(A) && i < 5; i++)
        last.arguments[i] = words[i + 1];
}

}  // namespace

extern "C" __declspec(dllexport) const StandInCall *kyStandInLastCall(void)
{
    return &last;
}

#define KY_STANDIN_EXPORT(ordinal, name, result, params, args)         \
    extern "C" __declspec(dllexport) result name params                \
    {                                                                  \
        recordName(#name);                                             \
        recordArguments args;                                          \
        return (result)(INT_PTR)standInResult(ordinal);                \
    }
KYDORU_EXPORT_TABLE(KY_STANDIN_EXPORT)
