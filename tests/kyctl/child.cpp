// Running kyctl.exe as a child process for the tests (see child.h).
#include "child.h"

#include <atomic>
#include <vector>

#include "kytest.h"

namespace kyctltest {

namespace {

HANDLE inheritableFile(const std::string &path)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

std::wstring wide(const std::string &utf8)
{
    std::wstring text(utf8.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0],
                                static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

}  // namespace

DWORD runLimitMs()
{
    return kytest::is32Bit() ? 240000 : 30000;
}

std::string readAll(const std::string &path)
{
    std::string text;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    fclose(file);
    return text;
}

bool writeAll(const std::string &path, const std::string &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

Result runIn(const std::string &folder, const std::string &args, DWORD limitMs)
{
    Result result;
    std::string exe = folder + "kyctl.exe";
    std::wstring commandLine = L"\"" + wide(exe) + L"\" " + wide(args);
    // Fresh files for each run: under Wine an ended child's handles may close a moment
    // after its process handle is signalled, so a reused file could still be held.
    static std::atomic<int> runs{0};
    std::string tag = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    std::string outPath = folder + "kyctl-out-" + tag + ".txt", errPath = folder + "kyctl-err-" + tag + ".txt";
    HANDLE out = inheritableFile(outPath), err = inheritableFile(errPath);
    if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
        CloseHandle(out);
        CloseHandle(err);
        result.err = "the output files could not be made";
        return result;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(wide(exe).c_str(), &commandLine[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL,
                                  wide(folder).c_str(), &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started) {
        result.err = "CreateProcess failed";
        return result;
    }
    DWORD start = GetTickCount();
    while (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT && GetTickCount() - start < limitMs)
        kytest::pumpMessages(10);
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 998);
        WaitForSingleObject(process.hProcess, 5000);
    } else {
        result.finished = true;
        GetExitCodeProcess(process.hProcess, &result.code);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    result.out = readAll(outPath);
    result.err = readAll(errPath);
    DeleteFileA(outPath.c_str());
    DeleteFileA(errPath.c_str());
    return result;
}

Result run(const std::string &args, DWORD limitMs)
{
    return runIn(kytest::programFolder(), args, limitMs);
}

std::string folderWith(const char *name, const char *dllFolder)
{
    std::string folder = kytest::programFolder() + name + "\\";
    CreateDirectoryA(folder.c_str(), NULL);
    DeleteFileA((folder + "calls.log").c_str());
    DeleteFileA((folder + "script.txt").c_str());
    DeleteFileA((folder + "kydoru.dll").c_str());
    CopyFileA((kytest::programFolder() + "kyctl.exe").c_str(), (folder + "kyctl.exe").c_str(), FALSE);
    if (dllFolder)
        CopyFileA((kytest::programFolder() + dllFolder + "\\kydoru.dll").c_str(), (folder + "kydoru.dll").c_str(), FALSE);
    return folder;
}

HWND testWindow(const std::string &title, const char *className, DWORD exStyle, int width, HWND owner, DWORD style)
{
    std::wstring wideClass = wide(className);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = wideClass.c_str();
    RegisterClassW(&wc);
    if (width == 0)
        style = WS_POPUP | WS_VISIBLE;
    HWND window = CreateWindowExW(exStyle, wideClass.c_str(), wide(title).c_str(), style, 60, 60, width,
                                  width ? 160 : 0, owner, NULL, GetModuleHandleW(NULL), NULL);
    if (style & WS_VISIBLE)
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    kytest::pumpMessages(50);
    return window;
}

std::string handleText(HWND window)
{
    char text[32];
    snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

bool isUtf8(const std::string &bytes)
{
    return bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                                static_cast<int>(bytes.size()), NULL, 0) > 0;
}

std::vector<std::string> splitLine(const std::string &line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any)
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words.push_back(word);
    return words;
}

kyctl::Parsed parseLine(const std::string &line, kyctl::Request *request)
{
    std::vector<std::string> words = splitLine(line);
    std::vector<const char *> argv;
    for (const std::string &w : words)
        argv.push_back(w.c_str());
    return kyctl::parseArguments(static_cast<int>(argv.size()), argv.data(), request);
}

}  // namespace kyctltest
