// kydoru_std.dll: the fifty exports of kydoru.dll again, stdcall and undecorated, for
// callers that can only call stdcall (a 32-bit VB6 or VBA Declare). Each export forwards
// its arguments to kydoru.dll's cdecl export of the same name and returns its result.
//
// kydoru.dll is bound at the first call, by the full path of this DLL's own folder, not
// by a load-time import: VBA loads a Declare'd DLL by the path it is given, and the
// loader would then not look in that folder for the DLL's own imports.
//
// Without kydoru.dll (missing, or the 64-bit one) or without the export, a call does
// nothing and returns 0, leaving the loader's error for GetLastError (VBA:
// Err.LastDllError): ERROR_MOD_NOT_FOUND (126) for a missing kydoru.dll,
// ERROR_BAD_EXE_FORMAT (193) for one of the wrong bitness, ERROR_PROC_NOT_FOUND (127)
// for a missing export. The next call tries again. A successful binding leaves the
// caller's last-error value as it was.
//
// No C runtime: the DLL holds only these functions and imports only kernel32.
#include <windows.h>

#include "exporttable.h"

namespace {

HMODULE self;
HMODULE library;                                   // kydoru.dll, once bound; never released
void *volatile entries[KYDORU_EXPORT_COUNT + 1];   // by ordinal, filled at first use

// Loads kydoru.dll from this DLL's folder; 0 with the loader's error on failure.
HMODULE loadLibraryBesideSelf()
{
    const DWORD room = 1024;   // longer paths fail as missing; a stack buffer under one page
    static const wchar_t file[] = L"kydoru.dll";
    wchar_t path[room];
    DWORD length = GetModuleFileNameW(self, path, room);
    if (length == 0 || length >= room) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    DWORD folderEnd = length;
    while (folderEnd > 0 && path[folderEnd - 1] != L'\\' && path[folderEnd - 1] != L'/')
        folderEnd--;
    if (folderEnd + sizeof file / sizeof file[0] > room) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    lstrcpyW(path + folderEnd, file);
    HMODULE loaded = LoadLibraryExW(path, 0, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!loaded && GetLastError() == ERROR_SUCCESS)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return loaded;
}

// The address of kydoru.dll's export, binding the library at the first call.
void *entry(int ordinal, const char *name)
{
    void *found = entries[ordinal];
    if (found)
        return found;
    DWORD callerError = GetLastError();
    HMODULE bound = library;
    if (!bound) {
        HMODULE loaded = loadLibraryBesideSelf();
        if (!loaded)
            return 0;
        // Two threads may race here; the loser drops its extra reference.
        bound = static_cast<HMODULE>(InterlockedCompareExchangePointer(
            reinterpret_cast<void *volatile *>(&library), loaded, 0));
        if (bound)
            FreeLibrary(loaded);
        else
            bound = loaded;
    }
    found = reinterpret_cast<void *>(GetProcAddress(bound, name));
    if (!found)
        return 0;
    entries[ordinal] = found;
    SetLastError(callerError);
    return found;
}

// What a call returns when it can't be forwarded: 0 of the export's result type.
template <typename Result>
Result nothing()
{
    return Result();
}

}  // namespace

// The entry point (there is no C runtime to call a DllMain).
extern "C" BOOL WINAPI kydoruStdEntry(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

// The local names are unlike any parameter name of the table.
#define KYDORU_STDCALL_EXPORT(ordinal, name, result, params, args)               \
    extern "C" __declspec(dllexport) result __stdcall name params                 \
    {                                                                             \
        typedef result(__cdecl * KyTarget) params;                                \
        KyTarget kyTarget = reinterpret_cast<KyTarget>(entry(ordinal, #name));    \
        return kyTarget ? kyTarget args : nothing<result>();                      \
    }
KYDORU_EXPORT_TABLE(KYDORU_STDCALL_EXPORT)
