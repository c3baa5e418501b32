// robust_case.exe GROUP RESULTFILE: runs one group of the hostile-input sweep against
// kydoru.dll beside it and writes a line before and after every case, so that the
// parent can name the case during which this process crashed or hung.
#include <cstdio>
#include <cstring>

#include "sweep.h"
#include "kywindows.h"

namespace {

FILE *results = nullptr;

// Tabs and line ends would break the line format.
void writeField(const char *text)
{
    for (const char *c = text; *c; ++c)
        fputc(*c == '\t' || *c == '\n' || *c == '\r' ? ' ' : *c, results);
}

void begin(const char *exportName, const char *caseName)
{
    fputs("B\t", results);
    writeField(exportName);
    fputc('\t', results);
    writeField(caseName);
    fputc('\n', results);
    fflush(results);
}

void end(const char *exportName, const char *caseName, robust::Outcome outcome, const char *note, DWORD tookMs)
{
    fputs(outcome == robust::casePassed ? "R\tP\t" : outcome == robust::caseFailed ? "R\tF\t" : "R\tS\t", results);
    writeField(exportName);
    fputc('\t', results);
    writeField(caseName);
    fputc('\t', results);
    writeField(note);
    fprintf(results, "\t%lu\n", static_cast<unsigned long>(tookMs));
    fflush(results);
}

}  // namespace

int main(int argc, char **argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (argc != 3)
        return 2;
    results = fopen(argv[2], "w");
    if (!results)
        return 3;
    for (int i = 0; i < robust::sweepGroupCount; ++i) {
        if (strcmp(robust::sweepGroups[i].name, argv[1]) != 0)
            continue;
        robust::caseSink = {begin, end};
        robust::inChild = true;
        kytest::startBoxWatcher();
        robust::sweepGroups[i].run();
        fputs("E\n", results);
        fclose(results);
        // Ends here, without the library's or the windows' teardown: that is not swept.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    return 4;
}
