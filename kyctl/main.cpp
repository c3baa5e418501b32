// kyctl: every capability of kydoru.dll from the command line. The command line comes
// in as UTF-16, whatever the ANSI code page, and goes on as UTF-8.
#include <stdlib.h>

#include "platform.h"

int wmain(int argc, wchar_t **argv)
{
    char **utf8 = static_cast<char **>(calloc(static_cast<size_t>(argc) + 1, sizeof(char *)));
    if (!utf8)
        return kyctl::exitFailed;
    for (int i = 0; i < argc; ++i) {
        int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, NULL, 0, NULL, NULL);
        utf8[i] = static_cast<char *>(malloc(n > 0 ? static_cast<size_t>(n) : 1));
        if (!utf8[i])
            return kyctl::exitFailed;
        utf8[i][0] = '\0';
        if (n > 0)
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8[i], n, NULL, NULL);
    }
    return kyctl::start(argc, utf8);
}
