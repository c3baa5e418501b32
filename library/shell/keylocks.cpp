// Caps Lock and Num Lock toggles. The state is read from the calling thread's keyboard
// state and changed only when it differs, so asking twice never toggles back.
#include "exports.h"
#include "shell/keylocks.h"

KeyboardCalls keyboardCalls = {GetKeyboardState, keybd_event};

const LockKey numLockKey = {VK_NUMLOCK, 0x45};
const LockKey capsLockKey = {VK_CAPITAL, 0x45};

bool lockNeedsPress(const BYTE keyState[256], BYTE virtualKey, int wanted)
{
    bool on = (keyState[virtualKey] & 1) != 0;
    return on != (wanted != 0);
}

void setLockState(const LockKey &key, int wanted)
{
    // A state that can't be read counts as all keys off rather than as whatever the
    // stack held.
    BYTE keyState[256] = {};
    keyboardCalls.getKeyboardState(keyState);
    if (!lockNeedsPress(keyState, key.virtualKey, wanted))
        return;
    keyboardCalls.keybdEvent(key.virtualKey, key.scanCode, KEYEVENTF_EXTENDEDKEY, 0);
    keyboardCalls.keybdEvent(key.virtualKey, key.scanCode, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
}

extern "C" void KYCALL kySetNumLock(int wanted)
{
    setLockState(numLockKey, wanted);
}

extern "C" void KYCALL kySetCapsLock(int wanted)
{
    setLockState(capsLockKey, wanted);
}
