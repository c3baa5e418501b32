// The form's texts and counters as plain functions, so that the number format, the
// byte-to-text rule and the effect wrap-around are tested without a window.
#include "formtext.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

void formatNumber(const char *prefix, int value, char *out, size_t size)
{
    if (!out || size == 0)
        return;
    // The sign slot is a blank for 0 and positive numbers; negatives bring their "-".
    snprintf(out, size, value >= 0 ? "%s %d" : "%s%d", prefix, value);
}

void bytesToText(const char *prefix, const unsigned char *bytes, size_t count, char *out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t used = 0;
    for (const char *p = prefix; p && *p && used + 1 < size; ++p)
        out[used++] = *p;
    for (size_t i = 0; i < count && used + 1 < size; ++i)
        if (bytes[i] != 0)
            out[used++] = static_cast<char>(bytes[i]);
    out[used] = 0;
}

short nextEffectNumber(short current)
{
    int next = current + 1;
    return static_cast<short>(next > 22 ? 0 : next);
}

void effectTitle(short effectNumber, char *out, size_t size)
{
    formatNumber("KY Computer Software - VB DEMO ", effectNumber, out, size);
}

int scrollTarget(int request, int current, int trackPosition, int low, int high, int lineStep, int pageStep)
{
    int target = current;
    switch (request) {
    case SB_LINELEFT: target = current - lineStep; break;
    case SB_LINERIGHT: target = current + lineStep; break;
    case SB_PAGELEFT: target = current - pageStep; break;
    case SB_PAGERIGHT: target = current + pageStep; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = trackPosition; break;
    case SB_LEFT: target = low; break;
    case SB_RIGHT: target = high; break;
    default: break;
    }
    if (target < low)
        target = low;
    if (target > high)
        target = high;
    return target;
}
