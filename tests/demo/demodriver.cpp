// The test side of driving kydemo.exe in a child process (see demodriver.h).
#include "demodriver.h"

#include <stdio.h>
#include <string.h>

#include "kytest.h"
#include "../../demo/controls.h"

namespace demo {

namespace {

// A visible top-level window of one process and class.
struct WindowSearch {
    DWORD pid;
    const char *className;
    HWND found;
};

BOOL CALLBACK findWindowOfProcess(HWND window, LPARAM searchPtr)
{
    auto *search = reinterpret_cast<WindowSearch *>(searchPtr);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid == search->pid && strcmp(cls, search->className) == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Polls `done` every 20 ms until it holds or `limitMs` pass.
template <typename Done> bool poll(Done done, DWORD limitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= limitMs)
            return false;
        Sleep(20);
    }
}

LRESULT sendWithLimit(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

}  // namespace

std::string prepareFolder(const char *name, bool copyDemo)
{
    std::string folder = kytest::programFolder() + name + "\\";
    CreateDirectoryA(folder.c_str(), NULL);
    DeleteFileA((folder + "calls.log").c_str());
    if (copyDemo)
        CopyFileA((kytest::programFolder() + "kydemo.exe").c_str(), (folder + "kydemo.exe").c_str(), FALSE);
    return folder;
}

bool start(const std::string &folder, Run *run)
{
    std::string exe = folder + "kydemo.exe";
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup,
                        &run->process))
        return false;
    WindowSearch search = {run->process.dwProcessId, KYDEMO_FORM_CLASS, NULL};
    poll(
        [&] {
            EnumWindows(findWindowOfProcess, reinterpret_cast<LPARAM>(&search));
            return search.found != NULL || !isRunning(*run);
        },
        60000);
    run->form = search.found;
    // Let start-up finish (focus, first paint) before the first click.
    WaitForInputIdle(run->process.hProcess, 10000);
    return run->form != NULL;
}

bool isRunning(const Run &run)
{
    return run.process.hProcess && WaitForSingleObject(run.process.hProcess, 0) == WAIT_TIMEOUT;
}

bool waitForExit(Run *run, DWORD limitMs, DWORD *exitCode)
{
    if (!run->process.hProcess || WaitForSingleObject(run->process.hProcess, limitMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(run->process.hProcess, exitCode);
    return true;
}

void stop(Run *run)
{
    if (!run->process.hProcess)
        return;
    if (isRunning(*run)) {
        TerminateProcess(run->process.hProcess, 99);
        WaitForSingleObject(run->process.hProcess, 10000);
    }
    CloseHandle(run->process.hThread);
    CloseHandle(run->process.hProcess);
    run->process = PROCESS_INFORMATION();
    run->form = NULL;
}

HWND control(const Run &run, int id)
{
    return GetDlgItem(run.form, id);
}

std::string text(HWND window)
{
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

bool waitForText(HWND window, const std::string &expected, DWORD limitMs)
{
    return poll([&] { return text(window) == expected; }, limitMs);
}

bool isChecked(HWND checkBox)
{
    return sendWithLimit(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int scrollPosition(HWND bar)
{
    return static_cast<int>(sendWithLimit(bar, SBM_GETPOS, 0, 0));
}

HWND focus(const Run &run)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(run.process.dwThreadId, &info))
        return NULL;
    return info.hwndFocus;
}

void click(HWND button)
{
    PostMessageA(button, BM_CLICK, 0, 0);
}

void clickLabel(HWND label)
{
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

void scroll(const Run &run, int request, int position)
{
    PostMessageA(run.form, WM_HSCROLL, MAKEWPARAM(request, position),
                 reinterpret_cast<LPARAM>(control(run, idHScroll1)));
}

void pressTab(const Run &run)
{
    HWND target = focus(run);
    PostMessageA(target ? target : run.form, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageA(target ? target : run.form, WM_KEYUP, VK_TAB, 0xC00F0001);
}

bool waitForBox(const Run &run, Box *box, DWORD limitMs, bool answer)
{
    WindowSearch search = {run.process.dwProcessId, "#32770", NULL};
    bool seen = poll(
        [&] {
            EnumWindows(findWindowOfProcess, reinterpret_cast<LPARAM>(&search));
            return search.found != NULL;
        },
        limitMs);
    if (!seen)
        return false;
    // The box's text arrives just after the window itself.
    Sleep(100);
    box->caption = text(search.found);
    char message[1024] = "";
    GetDlgItemTextA(search.found, 0xFFFF, message, sizeof message);
    box->text = message;
    if (answer) {
        PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        poll([&] { return !IsWindow(search.found); }, 10000);
    }
    return true;
}

std::vector<std::string> calls(const std::string &folder)
{
    std::vector<std::string> lines;
    FILE *log = fopen((folder + "calls.log").c_str(), "rb");
    if (!log)
        return lines;
    char line[600];
    while (fgets(line, sizeof line, log)) {
        size_t length = strcspn(line, "\r\n");
        line[length] = 0;
        lines.push_back(line);
    }
    fclose(log);
    return lines;
}

bool waitForCalls(const std::string &folder, size_t count, DWORD limitMs)
{
    return poll([&] { return calls(folder).size() >= count; }, limitMs);
}

std::string handleText(HWND window)
{
    return std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
}

std::string firstMissingExport(std::initializer_list<const char *> names)
{
    HMODULE dll = kytest::library();
    for (const char *name : names)
        if (!dll || !GetProcAddress(dll, name))
            return name;
    return "";
}

}  // namespace demo
