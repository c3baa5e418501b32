// UTF-8 read one character at a time, strictly: what kyctl prints must be valid UTF-8
// whatever bytes a window, a disk or a device gave it.
#pragma once
#include <stddef.h>

namespace kyctl {

// The length (1 to 4) of the well-formed UTF-8 character at text, its code point in
// *point; 0 when the bytes there are not UTF-8 (overlong forms, surrogates, beyond
// U+10FFFF, a cut sequence).
inline size_t utf8Decode(const char *text, size_t length, unsigned long *point)
{
    const unsigned char *s = reinterpret_cast<const unsigned char *>(text);
    if (length == 0)
        return 0;
    if (s[0] < 0x80) {
        *point = s[0];
        return 1;
    }
    size_t n = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : s[0] >= 0xC0 ? 2 : 0;
    if (n == 0 || n > length || s[0] > 0xF4)
        return 0;
    unsigned long value = s[0] & (0x7F >> n);
    for (size_t i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        value = value << 6 | (s[i] & 0x3F);
    }
    static const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[n] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *point = value;
    return n;
}

}  // namespace kyctl
