// Loads system DLLs by their full path in the system directory, so no DLL of the same
// name elsewhere on the search path (beside the caller's program, in its current folder)
// is ever taken for them.
#include "frame/systemlibrary.h"

#include <string.h>

HMODULE loadSystemLibrary(const char *file)
{
    char path[MAX_PATH];
    size_t fileLength = strlen(file);
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    // 0 is a failure, MAX_PATH or more a size asked for; either way there is no path.
    if (length == 0 || length + 1 + fileLength >= MAX_PATH)
        return NULL;
    path[length] = '\\';
    memcpy(path + length + 1, file, fileLength + 1);
    // The altered search path looks for the library's own dependencies beside it too.
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
