// What the form shows, computed apart from the window code: number and byte-buffer
// texts, the win effect counter and the scroll bar's next value.
#pragma once
#include <stddef.h>

// prefix + value in the form's number format: a blank before 0 and positive numbers,
// "-" before negative ones ("x=" and 1024 give "x= 1024"). Always terminated, cut to
// fit `size` bytes.
void formatNumber(const char *prefix, int value, char *out, size_t size);

// prefix + every non-zero byte of bytes[0..count) in order; zero bytes are skipped,
// not taken as the end. Always terminated, cut to fit `size` bytes.
void bytesToText(const char *prefix, const unsigned char *bytes, size_t count, char *out, size_t size);

// The win effect counter: one more than `current`, back to 0 after 22 (the library
// plays 22 as 21, so every effect gets a turn).
short nextEffectNumber(short current);

// The form's title while an effect plays: "KY Computer Software - VB DEMO " + number.
void effectTitle(short effectNumber, char *out, size_t size);

// The scroll bar's value after a WM_HSCROLL request, kept within [low, high].
// `trackPosition` is the thumb's position for the thumb requests; requests that
// don't move the bar (end of scroll) return `current`.
int scrollTarget(int request, int current, int trackPosition, int low, int high, int lineStep, int pageStep);
