// What a program pays to start with kydoru: whole processes timed in pairs, each against
// a minimal program (kyprobe) doing the same system work, so the ratio shows only what
// the library or kyctl adds. The two sides alternate run by run, so a machine that gets
// busier or quieter during the measurement weighs on both alike. Printed: each side's
// median of 20, the ratio (the median of the 20 rounds' own ratios, which follows the
// machine's load from round to round better than the ratio of the medians, also shown)
// and the machine's load average.
//   bench_startup.exe                    all pairs
//   bench_startup.exe 1 3                only pairs 1 and 3
//   bench_startup.exe --from FOLDER ...  kydoru.dll and kyctl.exe from FOLDER (`make bench`
//                                        gives dist/win64: the stripped binaries that ship)
// Without --from, kyctl.exe and kydoru.dll are taken from this program's own folder, as
// kyprobe.exe always is, so the pairs measure whatever the build holds.
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "../benchclock.h"

namespace {

// Command lines: "%S" stands for the folder of kydoru.dll and kyctl.exe; a program named
// without a folder is taken from this program's own.
struct StartupPair {
    const char *title;
    const char *subject;
    const char *baseline;
    double goal;  // the ratio the subject should stay within
};

const StartupPair startupPairs[] = {
    {"loading kydoru.dll against loading user32+gdi32+advapi32", "kyprobe.exe load \"%Skydoru.dll\"",
     "kyprobe.exe load user32.dll gdi32.dll advapi32.dll", 1.05},
    {"kyctl --version against a console program that loads user32", "%Skyctl.exe --version",
     "kyprobe.exe load user32.dll", 1.1},
    {"kyctl cpu against a program that loads kydoru.dll and calls kyProcSpeed", "%Skyctl.exe cpu",
     "kyprobe.exe procspeed \"%Skydoru.dll\"", 1.1},
    {"kyctl mode --json against a minimal program that reads the display mode", "%Skyctl.exe mode --json",
     "kyprobe.exe mode", 1.1},
};
const int pairCount = sizeof startupPairs / sizeof startupPairs[0];
const int runsPerSide = 20;
const DWORD runLimitMs = 60000;

// The Unix load average, read through Wine's Z: drive; "unknown" elsewhere.
std::string loadAverage()
{
    HANDLE file = CreateFileA("Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "unknown";
    char text[128] = "";
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, NULL);
    CloseHandle(file);
    text[got < sizeof text ? got : sizeof text - 1] = 0;
    // The first three fields: the 1-, 5- and 15-minute averages.
    std::string line(text);
    size_t end = 0;
    for (int field = 0; field < 3 && end != std::string::npos; ++field)
        end = line.find(' ', end + (field ? 1 : 0));
    return end == std::string::npos ? line : line.substr(0, end);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Where the programs are: this program's folder, and that of kydoru.dll and kyctl.exe.
struct Folders {
    std::string bench;
    std::string shipped;
};

// `text` with every "%S" replaced by `shipped`, and "%S" and quotes dropped when
// `shipped` is null (for printing).
std::string expand(const char *text, const std::string *shipped)
{
    std::string out;
    for (const char *c = text; *c; ++c) {
        if (c[0] == '%' && c[1] == 'S') {
            out += shipped ? *shipped : "";
            ++c;
        } else if (shipped || *c != '"') {
            out += *c;
        }
    }
    return out;
}

// Runs `command` (program and arguments) in the shipped folder to its end; the
// milliseconds from creating the process to its exit, or a negative number when it could
// not be started, did not end within the limit or ended with a non-zero code.
double timeProcess(const Folders &folders, const char *command, HANDLE sink)
{
    std::string expanded = expand(command, &folders.shipped);
    size_t programEnd = expanded.find(".exe") + 4;
    std::string path = expanded.substr(0, programEnd);
    if (path.find('\\') == std::string::npos)
        path = folders.bench + path;
    std::string line = "\"" + path + "\"" + expanded.substr(programEnd);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = sink;
    startup.hStdError = sink;
    PROCESS_INFORMATION process = {};
    double start = 0;
    // Wine now and then refuses a start (error 1359) that succeeds at once when asked
    // again; a program that can't be started three times running is reported.
    for (int attempt = 1;; ++attempt) {
        start = nowMs();
        if (CreateProcessA(path.c_str(), &line[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, folders.shipped.c_str(),
                           &startup, &process))
            break;
        if (attempt == 3) {
            printf("  %s could not be started (error %lu)\n", path.c_str(), GetLastError());
            return -1;
        }
        Sleep(100);
    }
    DWORD waited = WaitForSingleObject(process.hProcess, runLimitMs);
    double end = nowMs();
    DWORD code = 99;
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 99);
    else
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (waited != WAIT_OBJECT_0 || code != 0) {
        printf("  %s %s (exit code %lu)\n", line.c_str(), waited == WAIT_OBJECT_0 ? "failed" : "did not end in time",
               static_cast<unsigned long>(code));
        return -1;
    }
    return end - start;
}

// One pair: a warm-up run of each side, then the sides alternately, the subject first in
// even rounds and the baseline first in odd ones.
bool measurePair(int number, const StartupPair &pair, const Folders &folders, HANDLE sink)
{
    printf("(%d) %s\n    load average before: %s\n", number, pair.title, loadAverage().c_str());
    if (timeProcess(folders, pair.subject, sink) < 0 || timeProcess(folders, pair.baseline, sink) < 0)
        return false;
    std::vector<double> subject, baseline, ratios;
    for (int round = 0; round < runsPerSide; ++round) {
        for (int side = 0; side < 2; ++side) {
            bool subjectSide = (side == 0) == (round % 2 == 0);
            double ms = timeProcess(folders, subjectSide ? pair.subject : pair.baseline, sink);
            if (ms < 0)
                return false;
            (subjectSide ? subject : baseline).push_back(ms);
        }
        ratios.push_back(baseline.back() > 0 ? subject.back() / baseline.back() : 0.0);
    }
    double s = median(subject), b = median(baseline);
    printf("    %-52s median %7.1f ms\n    %-52s median %7.1f ms\n", expand(pair.subject, nullptr).c_str(), s,
           expand(pair.baseline, nullptr).c_str(), b);
    printf("    ratio %.3f (goal at most %.2f; ratio of the medians %.3f), %d runs a side\n", median(ratios),
           pair.goal, b > 0 ? s / b : 0.0, runsPerSide);
    printf("    load average after: %s\n", loadAverage().c_str());
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    char self[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(NULL, self, MAX_PATH);
    const char *slash = length && length < MAX_PATH ? strrchr(self, '\\') : NULL;
    if (!slash) {
        printf("bench_startup: its own folder could not be read\n");
        return 1;
    }
    Folders folders;
    folders.bench.assign(self, static_cast<size_t>(slash + 1 - self));
    folders.shipped = folders.bench;

    bool wanted[pairCount] = {};
    bool any = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--from") == 0 && i + 1 < argc) {
            folders.shipped = argv[++i];
            if (folders.shipped.back() != '\\')
                folders.shipped += '\\';
            continue;
        }
        int n = atoi(argv[i]);
        if (n < 1 || n > pairCount) {
            printf("usage: bench_startup [--from FOLDER] [PAIR...]   (pairs 1 to %d)\n", pairCount);
            return 2;
        }
        wanted[n - 1] = any = true;
    }
    printf("kydoru.dll and kyctl.exe from %s\n", folders.shipped.c_str());

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE sink = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, NULL);
    if (sink == INVALID_HANDLE_VALUE) {
        printf("bench_startup: NUL could not be opened\n");
        return 1;
    }
    int failed = 0;
    for (int i = 0; i < pairCount; ++i)
        if ((!any || wanted[i]) && !measurePair(i + 1, startupPairs[i], folders, sink))
            ++failed;
    CloseHandle(sink);
    return failed ? 1 : 0;
}
