// Opening the mouse and date-and-time applets, and reporting the system folder. shell32
// is bound at the first of these calls rather than when the library loads. The folder
// function is looked up in it at each call: where it is missing, the caller gets an
// empty path.
#include "exports.h"
#include "frame/lazycalls.h"
#include "frame/state.h"
#include "shell/applets.h"

#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

// Without shell32 the applets get the shell's own "DLL not found" value (32).
static HINSTANCE WINAPI shellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                     INT show)
{
    return lazyCalls.ShellExecuteA(owner, verb, file, parameters, directory, show);
}

// shell32 exports only the ANSI and wide forms of the folder function by name.
AppletCalls appletCalls = {shellExecute, "SHGetSpecialFolderPathA"};

const char mouseApplet[] = "main.cpl";
const char dateTimeApplet[] = "timedate.cpl";

extern "C" INT_PTR KYCALL kySystemDialogMP(void)
{
    return reinterpret_cast<INT_PTR>(appletCalls.shellExecuteA(NULL, NULL, mouseApplet, NULL, NULL, SW_SHOW));
}

extern "C" INT_PTR KYCALL kySystemDialogTD(void)
{
    return reinterpret_cast<INT_PTR>(appletCalls.shellExecuteA(NULL, NULL, dateTimeApplet, NULL, NULL, SW_SHOW));
}

extern "C" void KYCALL kyGetWSPath(char *buffer)
{
    // resultText may still hold a disk identity text; a query that fails or is never
    // made must leave the caller an empty string, not that.
    resultText[0] = 0;
    HMODULE shell32 = lazyLibraryModule(lazyShell32);
    auto folderPath = shell32 ? reinterpret_cast<SHGetSpecialFolderPathAFn>(
                                    GetProcAddress(shell32, appletCalls.folderFunction))
                              : nullptr;
    if (folderPath && !folderPath(NULL, resultText, CSIDL_SYSTEM, FALSE))
        resultText[0] = 0;
    resultText[resultTextSize - 1] = 0;
    if (resultText[0] == 0)
        buffer[0] = 0;
    else
        strcpy(buffer, resultText);
}
