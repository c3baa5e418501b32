// Module-wide state shared between subsystems. It is plain static data: zero when the
// library loads, shared by every caller in the process, never locked, never released.
#pragma once

enum { resultTextSize = 1024 };

// The text result of the last disk identity or system folder query; both exports
// copy it out to the caller's buffer before they return.
extern char resultText[resultTextSize];
