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

// Each stub is the whole fallback of its row: bind, then call, or fail.
#define KY_LAZY_STUB(library, result, name, parameters, arguments, failure) \
    static result WINAPI name##Unbound parameters                           \
    {                                                                       \
        return bindLazyLibrary(library) ? lazyCalls.name arguments : failure; \
    }
KY_LAZY_CALLS(KY_LAZY_STUB)
#undef KY_LAZY_STUB

#define KY_LAZY_UNBOUND(library, result, name, parameters, arguments, failure) name##Unbound,
LazyCalls lazyCalls = {KY_LAZY_CALLS(KY_LAZY_UNBOUND)};
// The starting entries, to go back to when a test withholds a library.
static const LazyCalls lazyUnbound = {KY_LAZY_CALLS(KY_LAZY_UNBOUND)};
#undef KY_LAZY_UNBOUND

// The rows as data, in the entries' order: the entries are pointers of one size, one
// per row, so entry i is pointer i of the record.
struct LazyRow {
    LazyLibrary library;
    const char *name;
};
#define KY_LAZY_ROW(library, result, name, parameters, arguments, failure) {library, #name},
static const LazyRow lazyRows[] = {KY_LAZY_CALLS(KY_LAZY_ROW)};
#undef KY_LAZY_ROW
enum { lazyRowCount = sizeof lazyRows / sizeof lazyRows[0] };
static_assert(sizeof(LazyCalls) == lazyRowCount * sizeof(PVOID), "one pointer-sized entry per row");

static PVOID volatile *lazyEntry(LazyCalls *calls, int row)
{
    return reinterpret_cast<PVOID volatile *>(calls) + row;
}

// Whether `module` has every function of `library`; with `publish`, swaps them in (a
// whole pointer at a time: a thread calling meanwhile sees the stub or the function).
static int resolveLibrary(LazyLibrary library, HMODULE module, int publish)
{
    for (int row = 0; row < lazyRowCount; ++row) {
        if (lazyRows[row].library != library)
            continue;
        FARPROC address = GetProcAddress(module, lazyRows[row].name);
        if (!address)
            return 0;
        if (publish)
            InterlockedExchangePointer(lazyEntry(&lazyCalls, row), reinterpret_cast<PVOID>(address));
    }
    return 1;
}

// Not inlined: the stubs share this one copy rather than carrying one each.
__attribute__((noinline)) int bindLazyLibrary(LazyLibrary library)
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
    for (int row = 0; row < lazyRowCount; ++row)
        if (lazyRows[row].library == library)
            *lazyEntry(&lazyCalls, row) = reinterpret_cast<const PVOID *>(&lazyUnbound)[row];
    lazyStates[library] = 0;
}
