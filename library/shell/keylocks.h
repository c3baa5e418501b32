// Bringing a lock key to a wanted state by one synthetic press and release, exactly as
// a user's key press would, so every program sees the same keyboard state.
#pragma once
#include <windows.h>

// The system calls, replaceable so tests can watch the events without a keyboard.
struct KeyboardCalls {
    BOOL(WINAPI *getKeyboardState)(PBYTE);
    void(WINAPI *keybdEvent)(BYTE, BYTE, DWORD, ULONG_PTR);
};
extern KeyboardCalls keyboardCalls;

struct LockKey {
    BYTE virtualKey;
    BYTE scanCode;
};
// Both keys send scan code 0x45 (Num Lock's); programs that read the scan code of a
// synthetic Caps Lock have always seen that value.
extern const LockKey numLockKey;
extern const LockKey capsLockKey;

// True when the key's toggle bit differs from `wanted` (0 off, any other value on).
bool lockNeedsPress(const BYTE keyState[256], BYTE virtualKey, int wanted);

// Reads the calling thread's keyboard state and presses and releases the key once when
// its toggle differs from `wanted`.
void setLockState(const LockKey &key, int wanted);
