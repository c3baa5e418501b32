// A C++ program that binds kydoru at run time by name but takes each pointer type from
// the header, so the prototype and the calling convention can't be mistyped:
//   x86_64-w64-mingw32-g++ dynamic.cpp -Idist/include -o dynamic.exe   (no import library)
#include <windows.h>

#include <cstdio>

#include "kydoru.h"

// The type of a pointer to the export `name`, as the header declares it (cdecl).
#define KY_TYPE(name) decltype(&name)

template <typename Fn> static Fn bind(HMODULE module, const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

int main()
{
    HMODULE kydoru = LoadLibraryA("kydoru.dll");
    if (!kydoru) {
        std::printf("kydoru.dll not found\n");
        return 1;
    }
    auto canChange = bind<KY_TYPE(kyCanChangeVideoMode)>(kydoru, "kyCanChangeVideoMode");
    auto diskText = bind<KY_TYPE(kyHDid)>(kydoru, "kyHDid");
    if (!canChange || !diskText) {
        std::printf("kydoru.dll lacks an export\n");
        FreeLibrary(kydoru);
        return 1;
    }

    // A display-change code: 0 means the mode would be accepted.
    int code = canChange();
    std::printf("1024 x 768 x 32: %s (code %d)\n", code == 0 ? "available" : "refused", code);

    // The model number of the first disk; 0 when it can't be asked (no rights, no
    // such disk, a driver that doesn't answer).
    char model[41] = "";
    if (diskText(0, 1, model))
        std::printf("disk 0: %s\n", model);
    else
        std::printf("disk 0: no answer\n");

    FreeLibrary(kydoru);
    return 0;
}
