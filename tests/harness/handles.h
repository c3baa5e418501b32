// Counting this process's open handles, to show that a call leaves none behind.
// GetProcessHandleCount is a stub returning 0 under Wine, so the system's handle list
// is counted instead.
#pragma once
#include <windows.h>

#include <vector>

namespace kytest {

// The number of handles this process holds, or -1 when the system won't say.
inline long openHandleCount()
{
    typedef LONG(WINAPI * QuerySystemInformationFn)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QuerySystemInformationFn>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation"));
    struct HandleEntry {
        ULONG processId;
        UCHAR objectType, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    const ULONG systemHandleInformation = 16;
    const LONG infoLengthMismatch = LONG(0xC0000004);
    std::vector<char> buffer(1 << 20);
    for (int attempt = 0; query && attempt < 6; ++attempt) {
        ULONG needed = 0;
        LONG status = query(systemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == infoLengthMismatch) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (status != 0)
            break;
        ULONG count = *reinterpret_cast<ULONG *>(buffer.data());
        // The entries follow the count, aligned for the pointer in each entry.
        const HandleEntry *entries = reinterpret_cast<const HandleEntry *>(buffer.data() + sizeof(void *));
        long mine = 0;
        for (ULONG i = 0; i < count; ++i)
            mine += entries[i].processId == GetCurrentProcessId();
        return mine;
    }
    DWORD count = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &count) && count ? long(count) : -1;
}

}  // namespace kytest
