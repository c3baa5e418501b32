// A stand-in kydoru.dll for kyctl, made from the export table: every export appends its
// name to calls.log beside the DLL and returns 1 (the success of most exports), so the
// power commands can be run with --yes without touching the machine. Built twice:
// complete, and without kyProcSpeed to see kyctl report a missing export.
#include <windows.h>

#include <string.h>

#define KYCALL __cdecl
#include "exporttable.h"

namespace {

HMODULE self;

void record(const char *name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, MAX_PATH);
    char *slash = strrchr(path, '\\');
    if (!slash)
        return;
    strcpy(slash + 1, "calls.log");
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(log, name, static_cast<DWORD>(strlen(name)), &written, NULL);
    WriteFile(log, "\r\n", 2, &written, NULL);
    CloseHandle(log);
}

template <typename Result>
Result succeeded()
{
    return Result(1);
}
template <>
void succeeded<void>()
{
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

#ifdef KYCTL_FAKE_WITHOUT_PROCSPEED
// Exported under another name, so the DLL lacks kyProcSpeed itself.
#define kyProcSpeed kyProcSpeed_absent
#endif

#define KYCTL_FAKE_EXPORT(ordinal, name, result, params, args)       \
    extern "C" __declspec(dllexport) result KYCALL name params        \
    {                                                                 \
        record(#name);                                                \
        return succeeded<result>();                                   \
    }
KYDORU_EXPORT_TABLE(KYCTL_FAKE_EXPORT)
