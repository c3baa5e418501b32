// The hostile-input sweep: groups of cases that call every export of kydoru.dll, bound
// by name as a user's program binds it, with the inputs a careless caller gives. A group
// runs in a child process (robust_case.exe) so that a crash or a hang ends only the
// child; the 32-bit run, where each process start is slow, runs the groups in-process.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "exportbind.h"

namespace robust {

// kydoru.dll beside the running program, loaded once by name.
HMODULE library();
FARPROC exportAddress(const char *name);
#define KY(name) (reinterpret_cast<kydoru_fn_##name>(::robust::exportAddress(KYDORU_EXPORT_NAME(name))))

enum Outcome { casePassed, caseFailed, caseSkipped };

struct Verdict {
    Outcome outcome;
    std::string note;
};
Verdict pass();
Verdict fail(const std::string &why);
Verdict skip(const std::string &why);
Verdict expectEq(long long got, long long want, const std::string &what);
Verdict expectTrue(bool ok, const std::string &why);
// The first verdict that is not a pass, or a pass.
Verdict all(std::initializer_list<Verdict> verdicts);

// Where cases announce themselves and their verdicts: a child writes lines to its
// result file, the in-process run fills the parent's table.
struct CaseSink {
    void (*begin)(const char *exportName, const char *caseName);
    void (*end)(const char *exportName, const char *caseName, Outcome outcome, const char *note, DWORD tookMs);
};
extern CaseSink caseSink;

// Runs one case: announces it, runs `body`, and fails it when it took longer than
// limitMs (it returned, but too late for a caller's user interface).
void runCase(const char *exportName, const std::string &caseName, DWORD limitMs,
             const std::function<Verdict()> &body);

struct SweepGroup {
    const char *name;
    void (*run)();
    DWORD limitMs;  // the whole group, in a child
};
extern const SweepGroup sweepGroups[];
extern const int sweepGroupCount;

// True in robust_case.exe. A child ends as soon as its group is done, and its windows go
// with it: destroying them one by one first would cost Wine about 2 s each (it waits for
// the X server to withdraw a managed window).
extern bool inChild;
void dropWindows(std::initializer_list<HWND> windows);

// The CDS_TEST answer for width x height at 32 bits: what the library's own switches
// to that mode must return.
int testedMode(DWORD width, DWORD height);

}  // namespace robust
