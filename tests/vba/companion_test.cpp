// The stdcall companion, kydoru_std.dll, called as a VB6 or VBA Declare calls it: through a
// stdcall pointer, with the stack pointer compared before and after each call. Every export
// runs against a stand-in kydoru.dll that records its arguments (the companion binds the
// kydoru.dll of its own folder); the repeatable ones also against the real DLL, compared
// with its cdecl export; and all of them without any kydoru.dll beside the companion.
#include <string.h>

#include <string>
#include <type_traits>

#include "exporttable.h"
#include "kytest.h"
#include "standin.h"

static_assert(sizeof(void *) == 4, "the stdcall companion exists for 32-bit callers only");

// Calls `function` with `count` 32-bit arguments pushed right to left, and stores in
// *stackShift how far the stack pointer moved over the call: 0 when the callee removed
// the arguments (stdcall), -4 x count when it left them (cdecl). The stack pointer is put
// back either way, so an unbalanced call can't upset the test itself.
extern "C" unsigned kyProbeCall(const void *function, unsigned count, const unsigned *arguments, int *stackShift);
asm(".text\n"
    ".globl _kyProbeCall\n"
    "_kyProbeCall:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl 12(%ebp), %ecx\n"
    "    leal (,%ecx,4), %eax\n"
    "    movl %esp, %edx\n"          // keep the stack 16-byte aligned at the call
    "    subl %eax, %edx\n"
    "    andl $-16, %edx\n"
    "    addl %eax, %edx\n"
    "    movl %edx, %esp\n"
    "    movl %esp, %edi\n"          // the stack pointer before the arguments
    "    movl 16(%ebp), %esi\n"
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    pushl -4(%esi,%ecx,4)\n"
    "    decl %ecx\n"
    "    jmp 1b\n"
    "2:  call *8(%ebp)\n"
    "    movl %esp, %ecx\n"
    "    subl %edi, %ecx\n"
    "    movl 20(%ebp), %edx\n"
    "    movl %ecx, (%edx)\n"
    "    leal -8(%ebp), %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebp\n"
    "    ret\n");

namespace {

struct Export {
    int ordinal;
    const char *name;
    unsigned argumentCount;
    bool returnsValue;
};

template <typename R, typename... A>
constexpr unsigned argumentCount(R (*)(A...))
{
    return sizeof...(A);
}

#define KY_EXPORT_ROW(ordinal, name, result, params, args) \
    {ordinal, #name, argumentCount(static_cast<result(*) params>(nullptr)), !std::is_void<result>::value},
const Export exportList[] = {KYDORU_EXPORT_TABLE(KY_EXPORT_ROW)};

struct Outcome {
    unsigned result;
    int stackShift;
};

Outcome probe(FARPROC function, unsigned count, const unsigned *arguments)
{
    Outcome outcome{0, 12345};
    outcome.result = kyProbeCall(reinterpret_cast<const void *>(function), count, arguments, &outcome.stackShift);
    return outcome;
}

HMODULE loadCompanion(const std::string &folder)
{
    // The real kydoru.dll is loaded first, so that code of the same process which loads
    // "kydoru.dll" without a folder (the demo's) keeps finding it and not a stand-in.
    EXPECT_NE(kytest::library(), nullptr);
    std::string path = kytest::programFolder() + folder + "kydoru_std.dll";
    HMODULE companion = LoadLibraryA(path.c_str());
    EXPECT_NE(companion, nullptr) << "can't load " << path << ", error " << GetLastError();
    return companion;
}

// Calls `name` of the companion and of the real DLL with the same arguments: the companion
// must pop them, the cdecl export must leave them, and both must give the same result
// (returned; 0 for a void export).
unsigned sameThroughBoth(HMODULE companion, const char *name, unsigned count, const unsigned *stdArgs,
                         const unsigned *cdeclArgs)
{
    FARPROC viaCompanion = GetProcAddress(companion, name);
    FARPROC direct = kytest::exportAddress(name);
    if (!viaCompanion || !direct) {
        ADD_FAILURE() << name << " is missing from the companion or from kydoru.dll";
        return 0;
    }
    Outcome stdcallOutcome = probe(viaCompanion, count, stdArgs);
    Outcome cdeclOutcome = probe(direct, count, cdeclArgs);
    EXPECT_EQ(stdcallOutcome.stackShift, 0) << name << " through the companion left the stack unbalanced";
    EXPECT_EQ(cdeclOutcome.stackShift, -4 * static_cast<int>(count)) << name << " of kydoru.dll is not cdecl";
    bool returnsValue = true;
    for (const Export &e : exportList)
        if (strcmp(e.name, name) == 0)
            returnsValue = e.returnsValue;
    if (!returnsValue)   // what a void export leaves in the result register means nothing
        return 0;
    EXPECT_EQ(stdcallOutcome.result, cdeclOutcome.result) << name << ": the companion's result differs from kydoru.dll's";
    return stdcallOutcome.result;
}

unsigned word(const void *pointer)
{
    return static_cast<unsigned>(reinterpret_cast<UINT_PTR>(pointer));
}

}  // namespace

TEST(CompanionStandIn, EveryExportForwardsItsArgumentsAndResultAndPopsThem)
{
    HMODULE companion = loadCompanion("vba_standin\\");
    ASSERT_NE(companion, nullptr);
    StandInLastCallFn lastCall = nullptr;
    for (const Export &e : exportList) {
        FARPROC function = GetProcAddress(companion, e.name);
        if (!function) {
            ADD_FAILURE() << "the companion does not export " << e.name;
            continue;
        }
        unsigned arguments[5] = {};
        for (unsigned i = 0; i < e.argumentCount; i++)
            arguments[i] = 0x40000000u + static_cast<unsigned>(e.ordinal) * 0x100u + i + 1;
        Outcome outcome = probe(function, e.argumentCount, arguments);
        EXPECT_EQ(outcome.stackShift, 0) << e.name << " left the stack unbalanced (" << e.argumentCount
                                         << " arguments)";

        if (!lastCall) {
            HMODULE standIn = GetModuleHandleA((kytest::programFolder() + "vba_standin\\kydoru.dll").c_str());
            ASSERT_NE(standIn, nullptr) << "the companion did not load the kydoru.dll of its own folder";
            lastCall = reinterpret_cast<StandInLastCallFn>(GetProcAddress(standIn, KY_STANDIN_LAST_CALL));
            ASSERT_NE(lastCall, nullptr);
        }
        const StandInCall *seen = lastCall();
        EXPECT_STREQ(seen->name, e.name) << "the companion's " << e.name << " called another export";
        EXPECT_EQ(seen->argumentCount, static_cast<int>(e.argumentCount)) << e.name;
        for (unsigned i = 0; i < e.argumentCount; i++)
            EXPECT_EQ(seen->arguments[i], arguments[i]) << e.name << ", argument " << i + 1;
        if (e.returnsValue) {
            EXPECT_EQ(outcome.result, standInResult(e.ordinal)) << e.name << "'s result was not passed back";
        }
    }
    ASSERT_NE(lastCall, nullptr);
    EXPECT_EQ(lastCall()->calls, static_cast<unsigned>(KYDORU_EXPORT_COUNT)) << "one forwarded call per export";

    // The probe itself: a cdecl export called the same way leaves its five arguments.
    HMODULE standIn = GetModuleHandleA((kytest::programFolder() + "vba_standin\\kydoru.dll").c_str());
    const unsigned five[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(probe(GetProcAddress(standIn, "ky_SetComTimeouts"), 5, five).stackShift, -20);
}

TEST(CompanionMissingLibrary, EveryExportReturnsZeroAndSaysTheModuleIsMissing)
{
    HMODULE companion = loadCompanion("vba_alone\\");
    ASSERT_NE(companion, nullptr);
    char buffer[300];
    memset(buffer, 'x', sizeof buffer);
    unsigned arguments[5] = {word(buffer), word(buffer), word(buffer), word(buffer), word(buffer)};
    for (int round = 0; round < 2; round++) {  // the second call tries to bind again
        for (const Export &e : exportList) {
            FARPROC function = GetProcAddress(companion, e.name);
            if (!function) {
                ADD_FAILURE() << "the companion does not export " << e.name;
                continue;
            }
            SetLastError(0);
            Outcome outcome = probe(function, e.argumentCount, arguments);
            DWORD error = GetLastError();
            EXPECT_EQ(outcome.stackShift, 0) << e.name << " left the stack unbalanced";
            if (e.returnsValue) {
                EXPECT_EQ(outcome.result, 0u) << e.name << " without kydoru.dll";
            }
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << e.name;
        }
    }
    for (char c : buffer)
        ASSERT_EQ(c, 'x') << "a call without kydoru.dll wrote into the caller's buffer";
}

TEST(CompanionRealLibrary, RepeatableCallsGiveTheCdeclExportsResults)
{
    HMODULE companion = loadCompanion("");
    ASSERT_NE(companion, nullptr);
    ASSERT_NE(kytest::library(), nullptr);

    sameThroughBoth(companion, "kyProcSpeed", 0, nullptr, nullptr);
    sameThroughBoth(companion, "kyCanChangeVideoMode", 0, nullptr, nullptr);

    int modeStd[4] = {-7, -7, -7, -7}, modeCdecl[4] = {-7, -7, -7, -7};
    const unsigned modeStdArgs[4] = {word(&modeStd[0]), word(&modeStd[1]), word(&modeStd[2]), word(&modeStd[3])};
    const unsigned modeCdeclArgs[4] = {word(&modeCdecl[0]), word(&modeCdecl[1]), word(&modeCdecl[2]),
                                       word(&modeCdecl[3])};
    EXPECT_EQ(sameThroughBoth(companion, "kyGetCurrentVideoMode", 4, modeStdArgs, modeCdeclArgs), 1u);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(modeStd[i], modeCdecl[i]) << "kyGetCurrentVideoMode output " << i + 1;
    EXPECT_GT(modeStd[1], 0) << "the screen width reached the caller's variable";

    // kyHDid is compared in disk32 (see kytest::storageQuerySurvives): its forwarding and
    // stack balance are shown against the stand-in above.

    char stdPath[300] = "", cdeclPath[300] = "";
    const unsigned stdPathArg[1] = {word(stdPath)}, cdeclPathArg[1] = {word(cdeclPath)};
    sameThroughBoth(companion, "kyGetWSPath", 1, stdPathArg, cdeclPathArg);
    EXPECT_STREQ(stdPath, cdeclPath);
    EXPECT_NE(strstr(stdPath, "\\"), nullptr) << "kyGetWSPath gave \"" << stdPath << "\"";

    // The serial exports without an open port: each gives 0 (close whatever an earlier test
    // left open first; the companion reaches this same kydoru.dll).
    KYDLL(ky_ClosePort)();
    const char noPort[] = "\\\\.\\KYNOSUCHPORT";
    unsigned char stdByte = 0x55, cdeclByte = 0x55;
    struct SerialCase {
        const char *name;
        unsigned count;
        unsigned stdArgs[5];
        unsigned cdeclArgs[5];
    } serial[] = {
        {"ky_ComOpen", 1, {word(noPort)}, {word(noPort)}},
        {"ky_ComConf", 5, {19200, 8, 0, 0, 0}, {19200, 8, 0, 0, 0}},
        {"ky_SetComTimeouts", 5, {60, 100, 1, 60, 100}, {60, 100, 1, 60, 100}},
        {"kySetupComm", 3, {0, 1024, 1024}, {0, 1024, 1024}},
        {"ky_WriteByte", 1, {word(&stdByte)}, {word(&cdeclByte)}},
        {"ky_ReadByte", 1, {word(&stdByte)}, {word(&cdeclByte)}},
        {"kyCommIBClear", 0, {}, {}},
        {"kyCommOBClear", 0, {}, {}},
        {"kyCommRTerminate", 0, {}, {}},
        {"kyCommWTerminate", 0, {}, {}},
        {"ky_ClosePort", 0, {}, {}},
    };
    for (const SerialCase &c : serial)
        EXPECT_EQ(sameThroughBoth(companion, c.name, c.count, c.stdArgs, c.cdeclArgs), 0u) << c.name;
    EXPECT_EQ(stdByte, cdeclByte) << "ky_ReadByte's byte";

    // Effects and window calls on no window: each returns at once with its constant.
    struct WindowCase {
        const char *name;
        unsigned count;
        unsigned arguments[3];
        unsigned expected;
    } windows[] = {
        {"kyWindowBmpEffect", 3, {0, 10, 1}, 1},
        {"kyWindowBmpEffect2", 3, {0, 0, 10}, 1},
        {"kyWindowErase", 1, {0}, 1},
        {"kyWindowD1", 1, {0}, 1},
        {"kySetWTransparent", 2, {0, 230}, 1},
        {"kyFlashWindow", 2, {0, 1}, 0},
    };
    for (const WindowCase &c : windows)
        EXPECT_EQ(sameThroughBoth(companion, c.name, c.count, c.arguments, c.arguments), c.expected) << c.name;
}
