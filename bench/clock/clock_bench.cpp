// How long one clock tick takes: the whole drawClockFrame (clear, face, text and the
// UpdateLayeredWindow to the screen) and the rotor face alone, against the 33 ms period.
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <vector>

#include "clock/clock.h"
#include "clock/face.h"
#include "../benchclock.h"

namespace {

const int frames = 1000;

double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime, k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime, u.HighPart = user.dwHighDateTime;
    return static_cast<double>(k.QuadPart + u.QuadPart) / 10000.0;
}

template <typename Step>
void measure(const char *name, Step step)
{
    std::vector<double> each;
    each.reserve(frames);
    double cpuStart = threadCpuMs(), wallStart = nowMs();
    for (int i = 0; i < frames; ++i) {
        double t0 = nowMs();
        step(i);
        each.push_back(nowMs() - t0);
    }
    double wall = nowMs() - wallStart, cpu = threadCpuMs() - cpuStart;
    std::sort(each.begin(), each.end());
    printf("%-34s median %.3f ms, 90th %.3f ms, max %.3f ms a frame (wall clock, one thread, no waits)\n", name,
           each[frames / 2], each[frames * 9 / 10], each.back());
    printf("%-34s %.3f ms CPU a frame on average (thread CPU time over %d frames, %.0f ms wall); "
           "%.1f%% of the 33 ms period\n",
           "", cpu / frames, frames, wall, 100.0 * each[frames / 2] / 33.0);
}

}  // namespace

int main()
{
    ClockState &s = clockState;
    HINSTANCE instance = GetModuleHandleA(NULL);
    registerClockClass(instance);
    s.updateLayeredWindow = reinterpret_cast<UpdateLayeredWindowFn>(
        GetProcAddress(GetModuleHandleA("USER32.DLL"), "UpdateLayeredWindow"));
    if (!s.updateLayeredWindow || !createClockWindow(instance, SW_SHOWNOACTIVATE) || !prepareClockSurface() ||
        !s.surfaceBits) {
        printf("clock bench: the clock window or its surface could not be made\n");
        return 1;
    }
    printf("clock bench: %d frames of the 128 x 128 clock\n", frames);
    measure("drawClockFrame (whole tick)", [](int) { drawClockFrame(); });
    // The same tick with no window to hand the frame to: the share of the screen update.
    HWND window = s.window;
    s.window = NULL;
    measure("drawClockFrame without the update", [](int) { drawClockFrame(); GdiFlush(); });
    s.window = window;
    measure("drawRotorFace (face alone)", [&s](int i) { drawRotorFace(s.memoryDc, rotorAngle(i)); GdiFlush(); });
    FaceTriangle triangles[faceTriangleCount];
    measure("buildFaceTriangles (vertices only)",
            [&triangles](int i) { buildFaceTriangles(rotorAngle(i), triangles); });
    DestroyWindow(s.window);
    UnregisterClassA(clockClassName, instance);
    return 0;
}
