// The small text tools under kyctl's parser and messages: a buffer that can't overflow,
// messages that stay on one line whatever the user typed, and the parsers of numbers,
// handles, bytes, port names and wildcards. Every value from the command line passes here.
#include <stdarg.h>
#include <string.h>

#include "cli.h"
#include "utf8.h"

namespace kyctl {

// ---- the buffer -------------------------------------------------------------------

Text textOver(char *buffer, size_t size)
{
    Text text = {buffer, size, 0, false};
    if (size)
        buffer[0] = '\0';
    return text;
}

void textAdd(Text *text, const char *bytes, size_t length)
{
    if (text->size == 0 || text->used + length >= text->size) {
        text->full = true;
        return;
    }
    memcpy(text->data + text->used, bytes, length);
    text->used += length;
    text->data[text->used] = '\0';
}

void textPut(Text *text, const char *zeroTerminated)
{
    textAdd(text, zeroTerminated, strlen(zeroTerminated));
}

void textFormat(Text *text, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    textFormatList(text, format, args);
    va_end(args);
}

// A number in base 10 or 16 (upper case), at least `digits` digits.
static void textNumber(Text *text, unsigned long long value, bool negative, unsigned base, int digits)
{
    // By hand rather than through the C runtime's printf: kyctl stays small.
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value);
    while (n < digits && n < 24)
        reversed[n++] = '0';
    if (negative)
        textAdd(text, "-", 1);
    while (n > 0)
        textAdd(text, &reversed[--n], 1);
}

void textFormatList(Text *text, const char *format, va_list args)
{
    for (const char *p = format; *p; ++p) {
        if (*p != '%') {
            const char *end = strchr(p, '%');
            size_t n = end ? static_cast<size_t>(end - p) : strlen(p);
            textAdd(text, p, n);
            p += n - 1;
            continue;
        }
        ++p;
        if (*p == 's') {
            const char *s = va_arg(args, const char *);
            escapeText(text, s ? s : "(null)", s ? strlen(s) : 6);
        } else if (*p == 'd') {
            int value = va_arg(args, int);
            textNumber(text, value < 0 ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned>(value),
                       value < 0, 10, 1);
        } else if (*p == 'u') {
            textNumber(text, va_arg(args, unsigned int), false, 10, 1);
        } else if (p[0] == 'l' && (p[1] == 'u' || p[1] == 'X')) {
            ++p;
            textNumber(text, va_arg(args, unsigned long), false, *p == 'u' ? 10 : 16, 1);
        } else if (p[0] == 'l' && p[1] == 'l' && (p[2] == 'd' || p[2] == 'u' || p[2] == 'X')) {
            p += 2;
            long long value = va_arg(args, long long);
            bool negative = *p == 'd' && value < 0;
            textNumber(text, negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value),
                       negative, *p == 'X' ? 16 : 10, 1);
        } else {
            textAdd(text, "%", 1);
            if (*p != '%')
                --p;
        }
    }
}

void escapeText(Text *out, const char *text, size_t length)
{
    for (size_t i = 0; i < length;) {
        unsigned long point = 0;
        size_t n = utf8Decode(text + i, length - i, &point);
        if (n == 0) {
            textPut(out, "\\x");
            textNumber(out, static_cast<unsigned char>(text[i]), false, 16, 2);
            ++i;
            continue;
        }
        if (point == '\n' || point == '\r' || point == '\t') {
            textPut(out, point == '\n' ? "\\n" : point == '\r' ? "\\r" : "\\t");
        } else if (point < 0x20 || point == 0x7F) {
            textPut(out, "\\x");
            textNumber(out, point, false, 16, 2);
        } else if (point >= 0x80 && point < 0xA0) {
            textPut(out, "\\u");
            textNumber(out, point, false, 16, 4);
        } else {
            textAdd(out, text + i, n);
        }
        i += n;
    }
}

// ---- numbers, handles, bytes, ports -------------------------------------------------

bool parseInt(const char *text, long long low, long long high, long long *out)
{
    const char *p = text;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    unsigned long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > 0xFFFFFFFFFFull)  // far beyond every range, and no overflow
            return false;
    }
    if (*p)
        return false;
    long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    if (signedValue < low || signedValue > high)
        return false;
    *out = signedValue;
    return true;
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

HandleVerdict parseHandle(const char *text, unsigned long long *out)
{
    unsigned long long value = 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const char *p = text + 2;
        if (!*p)
            return handleBad;
        for (; *p; ++p) {
            int digit = hexDigit(*p);
            if (digit < 0 || value > 0xFFFFFFFull)
                return handleBad;
            value = value * 16 + static_cast<unsigned>(digit);
        }
    } else {
        long long decimal;
        if (text[0] == '-' || text[0] == '+' || !parseInt(text, 0, 0xFFFFFFFFll, &decimal)) {
            // Spy++ and most window tools show handles as 8 hex digits with no prefix.
            bool allHex = text[0] != '\0';
            for (const char *p = text; *p; ++p)
                allHex = allHex && hexDigit(*p) >= 0;
            return allHex && text[0] == '0' && text[1] ? handleAmbiguous : handleBad;
        }
        if (text[0] == '0' && text[1])
            return handleAmbiguous;
        value = static_cast<unsigned long long>(decimal);
    }
    if (value == 0 || value > 0xFFFFFFFFull)
        return handleBad;
    *out = value;
    return handleOk;
}

bool parseHexBytes(const char *text, unsigned char *out, int room, int *length)
{
    int n = 0;
    for (const char *p = text; *p;) {
        if (*p == ' ') {
            ++p;
            continue;
        }
        int high = hexDigit(p[0]), low = high < 0 ? -1 : hexDigit(p[1]);
        if (high < 0 || low < 0 || n == room)
            return false;
        out[n++] = static_cast<unsigned char>(high * 16 + low);
        p += 2;
    }
    if (n == 0)
        return false;
    *length = n;
    return true;
}

bool parseSendText(const char *text, unsigned char *out, int room, int *length)
{
    int n = 0;
    for (const char *p = text; *p; ++n) {
        *length = n;
        if (n == room)
            return false;
        if (*p != '\\') {
            out[n] = static_cast<unsigned char>(*p++);
            continue;
        }
        char c = p[1];
        if (c == 'r' || c == 'n' || c == 't' || c == '\\') {
            out[n] = c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
            p += 2;
        } else if (c == 'x' && hexDigit(p[2]) >= 0 && hexDigit(p[3]) >= 0) {
            out[n] = static_cast<unsigned char>(hexDigit(p[2]) * 16 + hexDigit(p[3]));
            p += 4;
        } else {
            return false;
        }
    }
    *length = n;
    return n > 0;
}

bool parsePort(const char *text, char *out, size_t size)
{
    if ((text[0] | 0x20) != 'c' || (text[1] | 0x20) != 'o' || (text[2] | 0x20) != 'm')
        return false;
    long long number;
    if (text[3] < '1' || text[3] > '9' || !parseInt(text + 3, 1, 255, &number))
        return false;
    Text name = textOver(out, size);
    textFormat(&name, "COM%lld", number);
    return !name.full;
}

// ---- wildcards ----------------------------------------------------------------------

bool hasWildcard(const char *text)
{
    return strpbrk(text, "*?") != nullptr;
}

namespace {

// The code units of the character at text: 2 for a surrogate pair, else 1.
int characterUnits(const wchar_t *text)
{
    return text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF ? 2 : 1;
}

}  // namespace

bool wildcardMatch(const wchar_t *pattern, const wchar_t *text)
{
    // The classic greedy walk with one back-track point: linear in practice, and no
    // recursion however many stars a pattern has.
    const wchar_t *star = nullptr, *resume = nullptr;
    while (*text) {
        if (*pattern == L'*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == L'?' || (*pattern && *pattern == *text)) {
            text += *pattern == L'?' ? characterUnits(text) : 1;
            ++pattern;
        } else if (star) {
            pattern = star + 1;
            resume += characterUnits(resume);
            text = resume;
        } else {
            return false;
        }
    }
    while (*pattern == L'*')
        ++pattern;
    return *pattern == L'\0';
}

}  // namespace kyctl
