// Resource identifiers of kydemo.exe. The desktop clock looks for icons 107 and 108 and
// accelerators 109 in the calling program; the demo carries none of those on purpose.
#pragma once
#define IDR_KYSLIKA 201
