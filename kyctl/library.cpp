// Binding kydoru.dll: always the copy beside kyctl.exe, found by kyctl's own full path,
// never through the search path, so a stray kydoru.dll elsewhere can't be picked up.
#include <stdio.h>

#include "platform.h"

namespace kyctl {

void systemErrorText(DWORD code, char *out, size_t size)
{
    out[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code, 0, out,
                             static_cast<DWORD>(size), NULL);
    while (n > 0 && (out[n - 1] == '\n' || out[n - 1] == '\r' || out[n - 1] == ' ' || out[n - 1] == '.'))
        out[--n] = '\0';
    if (n == 0)
        snprintf(out, size, "error %lu", static_cast<unsigned long>(code));
}

bool bindLibrary(KydoruExports *out)
{
    static wchar_t path[32768];
    DWORD length = GetModuleFileNameW(NULL, path, 32768 - 16);
    wchar_t *slash = length ? wcsrchr(path, L'\\') : nullptr;
    if (!slash) {
        fprintf(stderr, "kyctl: kydoru.dll: can't tell kyctl.exe's own folder\n");
        return false;
    }
    wcscpy(slash + 1, L"kydoru.dll");
    static char shown[32768 * 2];
    WideCharToMultiByte(CP_ACP, 0, path, -1, shown, sizeof shown, NULL, NULL);

    HMODULE dll = LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!dll) {
        DWORD error = GetLastError();
        char why[256];
        systemErrorText(error, why, sizeof why);
        if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
            fprintf(stderr, "kyctl: kydoru.dll is missing: there is no %s\n", shown);
        else
            fprintf(stderr, "kyctl: kydoru.dll can't be loaded from %s (damaged or for another machine): %s\n",
                    shown, why);
        return false;
    }
    const char *missing = kydoruBindAll(dll, out);
    if (missing) {
        fprintf(stderr, "kyctl: %s lacks the export %s (damaged or another version)\n", shown, missing);
        return false;
    }
    return true;
}

}  // namespace kyctl
