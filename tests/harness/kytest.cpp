// The test harness's GoogleTest side: main with a per-test time limit and the library
// bound by name; the rest lives in kywindows.cpp.
#include "kytest.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

namespace kytest {

HMODULE library()
{
    static HMODULE dll = LoadLibraryA((programFolder() + "kydoru.dll").c_str());
    return dll;
}

FARPROC exportAddress(const char *name)
{
    HMODULE dll = library();
    if (!dll) {
        ADD_FAILURE() << "kydoru.dll could not be loaded from " << programFolder();
        return nullptr;
    }
    FARPROC address = GetProcAddress(dll, name);
    if (!address)
        ADD_FAILURE() << "kydoru.dll does not export " << name;
    return address;
}

// The cases that start other programs in the emulated 32-bit run: the demo's form as it
// starts, its picture and one real export's result (one demo, shared), every export's
// arguments through the demo's binder, and a real export through kyctl's. The rest is
// the same code at either width. The other allowance of that run, starting the program
// again after the emulator lost it, is resume-run.py's.
bool startsProgramsInThisRun()
{
    if (!is32Bit())
        return true;
    static const char *const chosen[] = {
        "DemoForm.StartsWithTheDesignedStateAndFocusOnCapsLock",
        "DemoForm.PictureBoxShowsTheEmbeddedLogo",
        "DemoForm.GetVideoModeShowsTheScreensMode",
        "DemoCalls.EveryControlCallsItsExportsWithTheDemosValues",
        "KyctlRun.TransparentLayersTheWindowByHandle",
    };
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (const char *one : chosen)
        if (name == one)
            return true;
    return false;
}

}  // namespace kytest

// ---- main: every test case runs under a time limit --------------------------------

namespace {

std::atomic<DWORD> caseStarted{0};
std::mutex caseLock;
std::string caseName;

class CaseClock : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo &info) override
    {
        std::lock_guard<std::mutex> hold(caseLock);
        caseName = std::string(info.test_suite_name()) + "." + info.name();
        caseStarted = GetTickCount();
    }
    void OnTestEnd(const testing::TestInfo &) override { caseStarted = 0; }
};

DWORD caseLimitMs()
{
    char value[32] = "";
    if (GetEnvironmentVariableA("KY_TEST_CASE_LIMIT", value, sizeof value))
        return static_cast<DWORD>(atoi(value)) * 1000;
    return 180 * 1000;  // generous: the 32-bit run is emulated
}

}  // namespace

#if !defined(_WIN64)
// GoogleTest's call to OutputDebugStringA lands here in the 32-bit build (see
// tests/CMakeLists.txt): under emulation the exception that the real function raises
// takes the whole test program down.
extern "C" void WINAPI kytestQuietDebugStringImpl(LPCSTR) {}
extern "C" void(WINAPI *const kytestQuietDebugStringPointer)(LPCSTR) __asm__("__imp__kytestQuietDebugString@4") =
    kytestQuietDebugStringImpl;
#endif

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new CaseClock);

    const DWORD limit = caseLimitMs();
    std::thread([limit] {
        for (;;) {
            Sleep(200);
            DWORD started = caseStarted;
            if (started && GetTickCount() - started > limit) {
                std::lock_guard<std::mutex> hold(caseLock);
                printf("\n[  TIMEOUT ] %s ran longer than %lu s; ending the test program\n", caseName.c_str(),
                       static_cast<unsigned long>(limit / 1000));
                fflush(stdout);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
    }).detach();

    int result = RUN_ALL_TESTS();
    fflush(stdout);
    // Skip static destructors and DLL detach work that could wait on windows of tests.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
