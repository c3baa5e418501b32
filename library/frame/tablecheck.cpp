// The export table (exporttable.h) must say exactly what the public header declares:
// every entry's result and parameters are checked here against the declaration, so a
// binder built from the table can't call an export through the wrong type.
#include <type_traits>

#include "exports.h"
#include "exporttable.h"

#define KYDORU_CHECK_ENTRY(ordinal, name, result, params, args)                              \
    static_assert(std::is_same<decltype(&name), result(KYCALL *) params>::value,         \
                  #name ": the export table's prototype differs from the header's");
KYDORU_EXPORT_TABLE(KYDORU_CHECK_ENTRY)
#undef KYDORU_CHECK_ENTRY

#define KYDORU_COUNT_ENTRY(ordinal, name, result, params, args) +1
static_assert(0 KYDORU_EXPORT_TABLE(KYDORU_COUNT_ENTRY) == KYDORU_EXPORT_COUNT,
              "the export table must list every export once");
#undef KYDORU_COUNT_ENTRY
