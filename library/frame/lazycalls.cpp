// Binding of the system libraries that only a few exports use, at their first call. The
// entries start at stubs (constant data, so loading the library runs no code for them);
// the first stub called binds its library and swaps the real addresses in.
#include "frame/lazycalls.h"

#include "frame/systemlibrary.h"

const char *const lazyLibraryFiles[lazyLibraryCount] = {"shell32.dll", "oleaut32.dll", "msimg32.dll",
                                                        "opengl32.dll", "glu32.dll"};

// What each library's binding came to: 0 not tried yet, 1 bound, -1 can't be bound.
static volatile LONG lazyStates[lazyLibraryCount];
// The one reference the binding keeps to each bound library, for the whole process.
static PVOID volatile lazyModules[lazyLibraryCount];
static int lazyWithheld[lazyLibraryCount];

#define KY_LAZY_STUB(library, result, name, parameters, arguments, failure) \
    static result WINAPI name##Unbound parameters                           \
    {                                                                       \
        return bindLazyLibrary(library) ? lazyCalls.name arguments : failure; \
    }
KY_LAZY_CALLS(KY_LAZY_STUB)
#undef KY_LAZY_STUB

#define KY_LAZY_UNBOUND(library, result, name, parameters, arguments, failure) name##Unbound,
LazyCalls lazyCalls = {KY_LAZY_CALLS(KY_LAZY_UNBOUND)};
#undef KY_LAZY_UNBOUND

template <typename Fn>
static void publishEntry(Fn *entry, FARPROC address)
{
    // A whole pointer at once: a thread calling meanwhile sees the stub or the function.
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile *>(entry), reinterpret_cast<PVOID>(address));
}

// Whether `module` has every function of `library`; with `publish`, swaps them in.
static int resolveLibrary(LazyLibrary library, HMODULE module, int publish)
{
    int complete = 1;
#define KY_LAZY_RESOLVE(owner, result, name, parameters, arguments, failure) \
    if (owner == library) {                                                  \
        FARPROC address = GetProcAddress(module, #name);                     \
        if (!address)                                                        \
            complete = 0;                                                    \
        else if (publish)                                                    \
            publishEntry(&lazyCalls.name, address);                          \
    }
    KY_LAZY_CALLS(KY_LAZY_RESOLVE)
#undef KY_LAZY_RESOLVE
    return complete;
}

int bindLazyLibrary(LazyLibrary library)
{
    if (lazyWithheld[library])
        return 0;
    LONG state = lazyStates[library];
    if (state != 0)
        return state > 0;

    // Two threads may get here at once: both load (the loader counts references), the
    // first to publish its handle keeps it and the other gives its reference back.
    HMODULE module = loadSystemLibrary(lazyLibraryFiles[library]);
    int bound = module && resolveLibrary(library, module, 0);
    if (bound) {
        if (InterlockedCompareExchangePointer(&lazyModules[library], module, NULL) != NULL)
            FreeLibrary(module);
        resolveLibrary(library, static_cast<HMODULE>(lazyModules[library]), 1);
    } else if (module) {
        FreeLibrary(module);
    }
    InterlockedCompareExchange(&lazyStates[library], bound ? 1 : -1, 0);
    return lazyStates[library] > 0;
}

HMODULE lazyLibraryModule(LazyLibrary library)
{
    return bindLazyLibrary(library) ? static_cast<HMODULE>(lazyModules[library]) : NULL;
}

void withholdLazyLibrary(LazyLibrary library, int withheld)
{
    lazyWithheld[library] = withheld;
#define KY_LAZY_RESET(owner, result, name, parameters, arguments, failure) \
    if (owner == library)                                                  \
        lazyCalls.name = name##Unbound;
    KY_LAZY_CALLS(KY_LAZY_RESET)
#undef KY_LAZY_RESET
    lazyStates[library] = 0;
}
