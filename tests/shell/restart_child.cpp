// Runs inside a throwaway Wine prefix only (started by restart_throwaway.sh): binds the
// power exports of kydoru.dll by name and really calls them, reporting each result on
// its own line of the log file named on the command line. A forced restart ends this
// process, so "survived" must never be written after "reboot=1".
#include <windows.h>

#include <stdio.h>
#include <string.h>

static FILE *logFile;

static void report(const char *line)
{
    fprintf(logFile, "%s\n", line);
    fflush(logFile);
}

int main(int argc, char **argv)
{
    char prefix[MAX_PATH] = "";
    GetEnvironmentVariableA("WINEPREFIX", prefix, MAX_PATH);
    if (argc < 2 || !GetProcAddress(GetModuleHandleA("ntdll"), "wine_get_version") || !strstr(prefix, "throwaway"))
        return 2;  // never anywhere but a throwaway Wine prefix
    logFile = fopen(argv[1], "wb");
    if (!logFile)
        return 3;
    HMODULE dll = LoadLibraryA("kydoru.dll");
    typedef int(__cdecl * Action)(void);
    typedef LRESULT(__cdecl * Message)(void);
    Action suspend = reinterpret_cast<Action>(GetProcAddress(dll, "kySystemPowerSuspend"));
    Action hibernate = reinterpret_cast<Action>(GetProcAddress(dll, "kySystemPowerHibernate"));
    Action reboot = reinterpret_cast<Action>(GetProcAddress(dll, "kyPerformReboot"));
    Message monitorOff = reinterpret_cast<Message>(GetProcAddress(dll, "kyMonitorOff"));
    if (!suspend || !hibernate || !reboot || !monitorOff) {
        report("missing exports");
        return 4;
    }
    char line[64];
    snprintf(line, sizeof line, "suspend=%d", suspend());
    report(line);
    snprintf(line, sizeof line, "hibernate=%d", hibernate());
    report(line);
    snprintf(line, sizeof line, "monitor=%ld", static_cast<long>(monitorOff()));
    report(line);
    snprintf(line, sizeof line, "reboot=%d", reboot());
    report(line);
    // The restart kills every process of the prefix; wait long enough for it to arrive.
    for (int waited = 0; waited < 60000; waited += 100)
        Sleep(100);
    report("survived");
    return 0;
}
