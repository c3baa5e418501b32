// Stand-ins for the shell's windows, which Wine's explorer lacks: the window structures
// of Windows XP, 7, 10 and 11 (classes, ids, parents, a second task bar, Progman or
// WorkerW), built window by window in the test process, where the shell lookups find
// them by class and id exactly as they would find the shell's own.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace kytest {

// One window of a stand-in. `parent` names an earlier row (null: a top-level window).
struct WindowRow {
    const char *key;
    const char *className;
    const char *caption;
    int id;
    const char *parent;
    RECT place;  // in the parent's client area, or on the screen
};

struct ShellStructure {
    const char *windowsVersion;  // "Windows XP", "Windows 7", "Windows 10", "Windows 11"
    const WindowRow *windows;
    size_t windowCount;
};
extern const ShellStructure shellStructures[4];
// The structure of that name; null for a name not in the list.
const ShellStructure *shellStructure(const char *windowsVersion);

// A stand-in's windows, made visible, and destroyed with it. Its task bars are topmost,
// so they come before any hidden one of Wine's in the search.
class StandInShell {
public:
    explicit StandInShell(const ShellStructure &structure);
    ~StandInShell();
    StandInShell(const StandInShell &) = delete;
    StandInShell &operator=(const StandInShell &) = delete;
    bool complete() const;
    HWND operator[](const char *key) const { return windows_.at(key); }
    // The keys of the windows whose own WS_VISIBLE bit is clear, in row order.
    std::string hidden() const;

private:
    const ShellStructure &structure_;
    std::map<std::string, HWND> windows_;
};

}  // namespace kytest
