// The baselines of the start-up benchmark: minimal console programs doing the same system
// work as the program they are paired with, so a ratio shows only what that program adds.
// It imports nothing but kernel32 and the C runtime and binds everything else by name.
//   kyprobe load DLL...       load each DLL (kydoru.dll, or user32.dll gdi32.dll advapi32.dll)
//   kyprobe procspeed [DLL]   load kydoru.dll (or DLL) and print kyProcSpeed's result
//   kyprobe mode              read the display mode the way the library does and print it
// Exit code 0 when everything loaded and answered, 1 otherwise.
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

typedef unsigned int(__cdecl *ProcSpeedFn)(void);
typedef HDC(WINAPI *GetDCFn)(HWND);
typedef int(WINAPI *ReleaseDCFn)(HWND, HDC);
typedef int(WINAPI *GetDeviceCapsFn)(HDC, int);

int loadAll(int count, char **names)
{
    for (int i = 0; i < count; ++i)
        if (!LoadLibraryA(names[i])) {
            fprintf(stderr, "kyprobe: %s could not be loaded\n", names[i]);
            return 1;
        }
    return count > 0 ? 0 : 1;
}

int procSpeed(const char *path)
{
    HMODULE kydoru = LoadLibraryA(path);
    auto speed = kydoru ? reinterpret_cast<ProcSpeedFn>(GetProcAddress(kydoru, "kyProcSpeed")) : nullptr;
    if (!speed)
        return 1;
    printf("%u\n", speed());
    return 0;
}

int displayMode()
{
    HMODULE user32 = LoadLibraryA("user32.dll");
    HMODULE gdi32 = LoadLibraryA("gdi32.dll");
    auto getDc = user32 ? reinterpret_cast<GetDCFn>(GetProcAddress(user32, "GetDC")) : nullptr;
    auto releaseDc = user32 ? reinterpret_cast<ReleaseDCFn>(GetProcAddress(user32, "ReleaseDC")) : nullptr;
    auto caps = gdi32 ? reinterpret_cast<GetDeviceCapsFn>(GetProcAddress(gdi32, "GetDeviceCaps")) : nullptr;
    HDC screen = getDc && releaseDc && caps ? getDc(NULL) : NULL;
    if (!screen)
        return 1;
    printf("{\"bits\":%d,\"width\":%d,\"height\":%d,\"refresh\":%d}\n", caps(screen, BITSPIXEL),
           caps(screen, HORZRES), caps(screen, VERTRES), caps(screen, VREFRESH));
    releaseDc(NULL, screen);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && strcmp(argv[1], "load") == 0)
        return loadAll(argc - 2, argv + 2);
    if ((argc == 2 || argc == 3) && strcmp(argv[1], "procspeed") == 0)
        return procSpeed(argc == 3 ? argv[2] : "kydoru.dll");
    if (argc == 2 && strcmp(argv[1], "mode") == 0)
        return displayMode();
    fprintf(stderr, "usage: kyprobe load DLL... | procspeed [DLL] | mode\n");
    return 2;
}
