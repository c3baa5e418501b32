// The pause between effect steps. Effects run inside the caller's export call, so the
// pause keeps the caller's windows alive by dispatching the thread's messages; the
// system tick, not the nominal millisecond, sets the pace of every effect.
#include "effects/effects.h"

void (*effectPauseHook)(unsigned int ms) = nullptr;

void effectPause(unsigned int ms)
{
    if (effectPauseHook)
        effectPauseHook(ms);
    if (ms == 0)
        return;
    bool quitTaken = false;
    WPARAM quitCode = 0;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD now = GetTickCount();
        if (now < start)  // the counter wrapped: end the pause rather than wait 49 days
            break;
        if (now - start > ms)
            break;
        // Taken with a removing peek rather than a blocking get: the pause must never
        // wait for a message that a nested handler has already taken.
        MSG msg;
        if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Not ours to consume: the caller's own loop must still see it.
                quitTaken = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        Sleep(1);
    }
    if (quitTaken)
        PostQuitMessage(static_cast<int>(quitCode));
}
