"""The number of kydoru's exports, read from the one place that states it:
KYDORU_EXPORT_COUNT in library/exporttable.h. The tools that check or write what ships
compare their own findings with it."""
import os
import re

TABLE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "library", "exporttable.h")


def export_count(table=TABLE):
    m = re.search(r"^#define KYDORU_EXPORT_COUNT (\d+)\s*$", open(table).read(), re.M)
    if not m:
        raise SystemExit(f"{table} does not define KYDORU_EXPORT_COUNT")
    return int(m.group(1))
