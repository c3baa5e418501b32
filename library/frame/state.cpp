// Storage for the module-wide state that more than one subsystem uses.
#include "frame/state.h"

char resultText[resultTextSize];
