/* A C program that binds kydoru at run time by name, without the header or the import
 * library:
 *   x86_64-w64-mingw32-gcc dynamic.c -o dynamic.exe
 * Each pointer type repeats the export's prototype with __cdecl. On 32-bit Windows a
 * WINAPI (stdcall) pointer would leave the arguments on the stack after every call. */
#include <stdio.h>
#include <windows.h>

typedef int(__cdecl *KyGetCurrentVideoModeFn)(int *bits, int *width, int *height, int *refresh);
typedef unsigned int(__cdecl *KyProcSpeedFn)(void);
typedef void(__cdecl *KyGetWSPathFn)(char *buffer);

/* GetProcAddress returns a FARPROC; the detour through void (*)(void) tells the
 * compiler that the change of function type is meant. */
#define KY_BIND(module, type, name) ((type)(void (*)(void))GetProcAddress(module, name))

int main(void)
{
    HMODULE kydoru = LoadLibraryA("kydoru.dll");
    if (!kydoru) {
        printf("kydoru.dll not found (error %lu)\n", GetLastError());
        return 1;
    }
    KyGetCurrentVideoModeFn getMode = KY_BIND(kydoru, KyGetCurrentVideoModeFn, "kyGetCurrentVideoMode");
    KyProcSpeedFn procSpeed = KY_BIND(kydoru, KyProcSpeedFn, "kyProcSpeed");
    KyGetWSPathFn systemPath = KY_BIND(kydoru, KyGetWSPathFn, "kyGetWSPath");
    if (!getMode || !procSpeed || !systemPath) {
        printf("kydoru.dll lacks an export\n");
        FreeLibrary(kydoru);
        return 1;
    }

    int bits = 0, width = 0, height = 0, refresh = 0;
    if (getMode(&bits, &width, &height, &refresh))
        printf("screen %d x %d, %d bits per pixel\n", width, height, bits);

    unsigned int mhz = procSpeed(); /* 0 means unknown */
    printf("processor 0: %u MHz\n", mhz);

    char path[MAX_PATH]; /* at least 260 bytes */
    systemPath(path);
    printf("system folder: %s\n", path[0] ? path : "(unknown)");

    FreeLibrary(kydoru);
    return 0;
}
