// kyctl's start-up as a script sees it: `kyctl mode --json` run 20 times as a child
// process (start, bind kydoru.dll, one export, print, exit); prints the median and the
// spread in milliseconds.
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <string>
#include <vector>

#include "../benchclock.h"

int main()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string folder(self, strrchr(self, '\\') + 1);
    std::string exe = folder + "kyctl.exe";
    HANDLE sink = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    SetHandleInformation(sink, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    const int runs = 20;
    std::vector<double> took;
    for (int i = 0; i < runs; ++i) {
        std::string line = "\"" + exe + "\" mode --json";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = sink;
        startup.hStdError = sink;
        PROCESS_INFORMATION process = {};
        double start = nowMs();
        if (!CreateProcessA(exe.c_str(), &line[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, folder.c_str(), &startup,
                            &process)) {
            printf("kyctl.exe could not be started from %s\n", folder.c_str());
            return 1;
        }
        DWORD waited = WaitForSingleObject(process.hProcess, 60000);
        double end = nowMs();
        DWORD code = 99;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        if (waited != WAIT_OBJECT_0 || code != 0) {
            printf("run %d: kyctl mode --json did not finish well (exit %lu)\n", i + 1, static_cast<unsigned long>(code));
            return 1;
        }
        took.push_back(end - start);
    }
    std::sort(took.begin(), took.end());
    printf("kyctl mode --json start-up, %d runs: median %.1f ms (fastest %.1f, slowest %.1f)\n", runs,
           (took[runs / 2 - 1] + took[runs / 2]) / 2, took.front(), took.back());
    return 0;
}
