// Binding kydoru.dll: always the copy beside kyctl.exe, found by kyctl's own full path,
// never through the search path, so a stray kydoru.dll elsewhere can't be picked up; and
// only for a command that calls it. System DLLs that only some commands need are loaded
// the same way, from the system directory, at that command.
#include "platform.h"

namespace kyctl {

void textFromWide(Text *out, const wchar_t *text, int length)
{
    if (length == 0)
        return;
    int n = WideCharToMultiByte(CP_UTF8, 0, text, length, NULL, 0, NULL, NULL);
    if (n <= 0 || out->used + static_cast<size_t>(n) >= out->size) {
        out->full = true;
        return;
    }
    // Unpaired surrogates become U+FFFD: what comes out is UTF-8 whatever went in.
    WideCharToMultiByte(CP_UTF8, 0, text, length, out->data + out->used, n, NULL, NULL);
    out->used += static_cast<size_t>(n);
    out->data[out->used] = '\0';
}

void textFromAnsi(Text *out, const char *text)
{
    // The ANSI exports' texts are in the system's ANSI code page.
    static wchar_t wide[2048];
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 2048);
    if (n > 1)
        textFromWide(out, wide, n - 1);
}

namespace {

const char *endPiece(Text *buffer, size_t start)
{
    if (buffer->used + 1 < buffer->size) {
        buffer->data[buffer->used++] = '\0';
        buffer->data[buffer->used] = '\0';
    } else {
        buffer->full = true;
        return "";
    }
    return buffer->data + start;
}

}  // namespace

const char *pieceFromWide(Text *buffer, const wchar_t *text)
{
    size_t start = buffer->used;
    textFromWide(buffer, text, lstrlenW(text));
    return endPiece(buffer, start);
}

const char *pieceFromAnsi(Text *buffer, const char *text)
{
    size_t start = buffer->used;
    textFromAnsi(buffer, text);
    return endPiece(buffer, start);
}

bool bindLibrary(const Command &command, KydoruExports *out)
{
    static wchar_t path[32768];
    DWORD length = GetModuleFileNameW(NULL, path, 32768 - 16);
    wchar_t *slash = length ? wcsrchr(path, L'\\') : nullptr;
    if (!slash) {
        say("kydoru.dll: can't tell kyctl.exe's own folder");
        return false;
    }
    lstrcpyW(slash + 1, L"kydoru.dll");
    static char shownText[32768 * 3];
    Text shown = textOver(shownText, sizeof shownText);
    textFromWide(&shown, path, lstrlenW(path));

    HMODULE dll = LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!dll) {
        DWORD error = GetLastError();
        char whyText[512];
        Text why = textOver(whyText, sizeof whyText);
        systemErrorText(error, &why);
        if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
            say("kydoru.dll is missing: there is no %s", shownText);
        else
            say("kydoru.dll can't be loaded from %s (damaged or for another machine): %s", shownText, whyText);
        return false;
    }
    kydoruBindAll(dll, out);
    // Only the exports this command may call must be there: a DLL of another version
    // still serves the commands whose exports it has.
    for (int i = 0; i < maxCommandExports && command.exports[i] >= 0; ++i) {
        if (!GetProcAddress(dll, kydoruExportNames[command.exports[i]])) {
            say("%s lacks the export %s (damaged or another version)", shownText,
                kydoruExportNames[command.exports[i]]);
            return false;
        }
    }
    return true;
}

}  // namespace kyctl
