// Opening the mouse and date-and-time applets, and reporting the system folder. The
// folder function is looked up in shell32 at each call, so the library loads even where
// the shell's folder functions are missing; the caller then gets an empty path.
#include "exports.h"
#include "frame/state.h"
#include "shell/applets.h"

#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

// shell32 exports only the ANSI and wide forms of the folder function by name.
AppletCalls appletCalls = {ShellExecuteA, "shell32", "SHGetSpecialFolderPathA"};

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
    HMODULE shell32 = LoadLibraryA(appletCalls.folderModule);
    auto folderPath = shell32 ? reinterpret_cast<SHGetSpecialFolderPathAFn>(
                                    GetProcAddress(shell32, appletCalls.folderFunction))
                              : nullptr;
    if (folderPath && !folderPath(NULL, resultText, CSIDL_SYSTEM, FALSE))
        resultText[0] = 0;
    if (shell32)
        FreeLibrary(shell32);
    resultText[resultTextSize - 1] = 0;
    if (resultText[0] == 0)
        buffer[0] = 0;
    else
        strcpy(buffer, resultText);
}
