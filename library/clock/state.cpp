// Storage for the clock's record and its test seams. The record is constant data at
// load (zero apart from the fixed sizes), so loading the library runs no code for it.
#include "clock/clock.h"

const char clockClassName[] = "kydoru";
const char clockWindowName[] = "KY DORU CLOCK";

ClockState clockState = {
    0, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA},
    {clockSide, clockSide},
    {0, 0},
    {0, 0},
    0, 0, {0, 0},
};

ClockProcLookupFn clockProcLookup = GetProcAddress;
ClockCreateDibSectionFn clockCreateDibSection = CreateDIBSection;
