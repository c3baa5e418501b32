// Measures the logo show on this machine's renderer: frames per second and the median
// frame time of the show's own window and pump, and the time to load each picture.
//   bench_logo.exe            measure and print
//   bench_logo.exe --show N   just run the show for N seconds (for screenshots)
#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "exports.h"
#include "logo/logo.h"
#include "logo/picture.h"
#include "logo/scene.h"
#include "../benchclock.h"

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs kyLogo for `seconds`, then presses Esc in its window.
int showFor(int seconds)
{
    std::thread closer([seconds] {
        Sleep(seconds * 1000);
        if (HWND window = FindWindowA("OpenGL", NULL))
            PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    int result = kyLogo();
    closer.join();
    return result;
}

// Pumps the show's window the way the show does for `ms` and times each WM_PAINT frame.
void measureFrames(LogoWindow *w, double ms, const char *label)
{
    std::vector<double> frameStarts;
    double end = nowMs() + ms;
    MSG message;
    while (nowMs() < end) {
        if (!PeekMessageA(&message, w->window, 0, 0, PM_REMOVE))
            continue;
        if (message.message == WM_PAINT)
            frameStarts.push_back(nowMs());
        DispatchMessageA(&message);
    }
    std::vector<double> frameTimes;
    for (size_t i = 1; i < frameStarts.size(); ++i)
        frameTimes.push_back(frameStarts[i] - frameStarts[i - 1]);
    double span = frameStarts.size() > 1 ? frameStarts.back() - frameStarts.front() : 0;
    printf("%s %dx%d: %zu frames in %.0f ms: %.1f frames per second, median frame %.2f ms\n", label, w->width,
           w->height, frameStarts.size(), span, span > 0 ? 1000.0 * (frameStarts.size() - 1) / span : 0.0,
           median(frameTimes));
}

void measureLoads(const char *name, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        unsigned int texture = 0;
        double start = nowMs();
        int ok = loadPictureTexture(name, &texture);
        times.push_back(nowMs() - start);
        if (!ok) {
            printf("loadPictureTexture(%s) failed\n", name);
            return;
        }
        glDeleteTextures(1, &texture);
    }
    printf("loadPictureTexture(%s): median %.2f ms over %d loads\n", name, median(times), rounds);
}

}  // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc == 3 && strcmp(argv[1], "--show") == 0)
        return showFor(atoi(argv[2]));

    KeyTable keys;
    LogoHost host;
    LogoWindow w;
    initLogoShow(&w, &keys, &host);
    if (!registerLogoClass(&host))
        return 1;
    if (!openLogoWindow(&w)) {
        printf("no OpenGL window can be made here; nothing to measure\n");
        UnregisterClassA(logoClassName, NULL);
        return 0;
    }
    if (prepareLogoScene(&w, &keys)) {
        measureFrames(&w, 500, "warm-up");
        measureFrames(&w, 5000, "show");
        measureLoads("ky.jpg", 20);
        measureLoads("kydoru.jpg", 20);
    } else {
        printf("the pictures are not in the current folder\n");
    }
    closeLogoWindow(&w);
    UnregisterClassA(logoClassName, NULL);
    return 0;
}
