// One tick of the clock: the whole surface redrawn in memory and handed to the screen
// with one UpdateLayeredWindow, thirty times a second.
#include "clock/clock.h"
#include "clock/face.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

void formatClockTime(const struct tm &local, char (&text)[9])
{
    // Out-of-range fields are clamped so the text never grows past eight characters.
    int hours = local.tm_hour < 0 ? 0 : local.tm_hour > 23 ? 23 : local.tm_hour;
    int minutes = local.tm_min < 0 ? 0 : local.tm_min > 59 ? 59 : local.tm_min;
    int seconds = local.tm_sec < 0 ? 0 : local.tm_sec > 59 ? 59 : local.tm_sec;
    snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
}

void drawClockFrame()
{
    ClockState &s = clockState;
    // Without a surface there is nothing to draw into and nothing to show.
    if (!s.surfaceBits || !s.memoryDc)
        return;

    GdiFlush();  // earlier GDI output must land before the bytes are cleared
    memset(s.surfaceBits, 0, clockSurfaceBytes);
    drawRotorFace(s.memoryDc, rotorAngle(s.clockTicks));

    SetTextColor(s.memoryDc, RGB(255, 255, 255));
    SetBkColor(s.memoryDc, RGB(0, 0, 0));
    SetBkMode(s.memoryDc, TRANSPARENT);
    char text[9] = "00:00:00";
    time_t now = time(NULL);
    const struct tm *local = localtime(&now);
    if (local)
        formatClockTime(*local, text);
    TextOutA(s.memoryDc, 0, 0, text, 8);

    if (s.updateLayeredWindow && s.window)
        s.updateLayeredWindow(s.window, s.screenDc, &s.clockOrigin, &s.clockSize, s.memoryDc, &s.surfaceOrigin, 0,
                              &s.blend, ULW_ALPHA);
    s.clockTicks = s.clockTicks + 1u;
}
