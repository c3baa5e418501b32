// What kyctl asks of the system where a test must be able to stand in: the console
// window, a process's integrity level, whether there is a user's desktop, whether a
// window is cloaked, and where output goes. Each is one function behind systemCalls.
#include "platform.h"

namespace kyctl {

namespace {

bool tokenIntegrity(DWORD processId, DWORD *level)
{
    bool known = false;
    HANDLE process =
        processId == 0 ? GetCurrentProcess() : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    HANDLE token = NULL;
    if (process && OpenProcessToken(process, TOKEN_QUERY, &token)) {
        union {
            TOKEN_MANDATORY_LABEL label;
            BYTE room[64 + SECURITY_MAX_SID_SIZE];
        } info;
        DWORD size = 0;
        if (GetTokenInformation(token, TokenIntegrityLevel, &info, sizeof info, &size) &&
            IsValidSid(info.label.Label.Sid) && *GetSidSubAuthorityCount(info.label.Label.Sid) > 0) {
            PSID sid = info.label.Label.Sid;
            *level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
            known = true;
        }
        CloseHandle(token);
    }
    if (process && processId != 0)
        CloseHandle(process);
    return known;
}

// Services and tasks set to run whether the user is logged on or not run where no user
// sees anything: in session 0, or in a window station that is not interactive.
bool interactiveDesktop(Text *why)
{
    DWORD session = 1;
    if (ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0) {
        textPut(why, "kyctl runs in session 0, where services run and no user sees anything");
        return false;
    }
    USEROBJECTFLAGS flags = {};
    HWINSTA station = GetProcessWindowStation();
    if (station && GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, NULL) &&
        !(flags.dwFlags & WSF_VISIBLE)) {
        textPut(why, "kyctl's window station is not interactive (a service, or a task set to run whether the "
                     "user is logged on or not)");
        return false;
    }
    return true;
}

// Windows 8 and later cloak the windows of other virtual desktops and of suspended
// apps: present and "visible", yet nowhere on screen. Older systems cloak nothing.
bool dwmCloaked(HWND window)
{
    typedef HRESULT(WINAPI * GetAttributeFn)(HWND, DWORD, PVOID, DWORD);
    static GetAttributeFn getAttribute;
    static bool looked;
    if (!looked) {  // once: asked for every window
        looked = true;
        getAttribute = systemFunction<GetAttributeFn>("dwmapi.dll", "DwmGetWindowAttribute");
    }
    const DWORD dwmwaCloaked = 14;  // DWMWA_CLOAKED
    DWORD cloaked = 0;
    return getAttribute && SUCCEEDED(getAttribute(window, dwmwaCloaked, &cloaked, sizeof cloaked)) && cloaked;
}

void writeHandle(DWORD stream, const char *bytes, size_t length, bool binary)
{
    HANDLE handle = GetStdHandle(stream);
    DWORD mode = 0, done = 0;
    if (handle == NULL || handle == INVALID_HANDLE_VALUE)
        return;
    if (!binary && GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 whatever its code page; written in pieces the console
        // takes in one call.
        static wchar_t wide[4096];
        while (length > 0) {
            size_t piece = length < 2048 ? length : 2048;
            while (piece < length && piece > 0 && (static_cast<unsigned char>(bytes[piece]) & 0xC0) == 0x80)
                --piece;  // never split a character
            int n = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(piece), wide, 4096);
            WriteConsoleW(handle, wide, static_cast<DWORD>(n), &done, NULL);
            bytes += piece;
            length -= piece;
        }
        return;
    }
    static char crlf[8192];
    while (length > 0) {
        size_t used = 0, taken = 0;
        for (; taken < length && used + 2 <= sizeof crlf; ++taken) {
            if (!binary && bytes[taken] == '\n')
                crlf[used++] = '\r';
            crlf[used++] = bytes[taken];
        }
        if (!WriteFile(handle, crlf, static_cast<DWORD>(used), &done, NULL))
            return;  // a closed pipe: nobody reads any more
        bytes += taken;
        length -= taken;
    }
}

}  // namespace

SystemCalls systemCalls = {GetConsoleWindow, tokenIntegrity, interactiveDesktop, dwmCloaked, writeHandle};

}  // namespace kyctl
