/*
 * exportbind.h - what a program that binds kydoru.dll by name needs, derived from the
 * export table (exporttable.h) so that no binder writes an export's name again:
 *   kydoru_fn_NAME      the pointer type of export NAME, as the table gives it;
 *   kydoru_index_NAME   its position in the table (ordinal - 1);
 *   kydoruExportNames[] and kydoruExportOrdinals[] in table order;
 *   KydoruExports       one typed pointer per export, filled by kydoruBindAll.
 * An export that is not in the table fails to compile wherever it is bound.
 */
#ifndef KYDORU_EXPORTBIND_H
#define KYDORU_EXPORTBIND_H

#include "exports.h"
#include "exporttable.h"

#define KYDORU_BIND_TYPE(ordinal, name, result, params, args) typedef result(KYCALL *kydoru_fn_##name) params;
KYDORU_EXPORT_TABLE(KYDORU_BIND_TYPE)
#undef KYDORU_BIND_TYPE

#define KYDORU_BIND_INDEX(ordinal, name, result, params, args) kydoru_index_##name = (ordinal) - 1,
enum { KYDORU_EXPORT_TABLE(KYDORU_BIND_INDEX) kydoru_index_end };
#undef KYDORU_BIND_INDEX

#define KYDORU_BIND_NAME(ordinal, name, result, params, args) #name,
static const char *const kydoruExportNames[KYDORU_EXPORT_COUNT] = {KYDORU_EXPORT_TABLE(KYDORU_BIND_NAME)};
#undef KYDORU_BIND_NAME

#define KYDORU_BIND_ORDINAL(ordinal, name, result, params, args) ordinal,
static const unsigned short kydoruExportOrdinals[KYDORU_EXPORT_COUNT] = {KYDORU_EXPORT_TABLE(KYDORU_BIND_ORDINAL)};
#undef KYDORU_BIND_ORDINAL

/* The export's name as the DLL exports it, checked against the table at compile time. */
#define KYDORU_EXPORT_NAME(name) (kydoruExportNames[kydoru_index_##name])

#define KYDORU_BIND_FIELD(ordinal, name, result, params, args) kydoru_fn_##name name;
typedef struct KydoruExports {
    KYDORU_EXPORT_TABLE(KYDORU_BIND_FIELD)
} KydoruExports;
#undef KYDORU_BIND_FIELD

/* Looks up every export of `module` by name into `out`. Returns null when all were
 * found, else the table name of the first missing one (the rest are still filled in). */
static inline const char *kydoruBindAll(HMODULE module, KydoruExports *out)
{
    const char *missing = 0;
#define KYDORU_BIND_ONE(ordinal, name, result, params, args)                            \
    out->name = (kydoru_fn_##name)(void (*)(void))GetProcAddress(module, #name);        \
    if (!out->name && !missing)                                                          \
        missing = #name;
    KYDORU_EXPORT_TABLE(KYDORU_BIND_ONE)
#undef KYDORU_BIND_ONE
    return missing;
}

#endif /* KYDORU_EXPORTBIND_H */
