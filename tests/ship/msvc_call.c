/* A program built as a Microsoft Visual C++ user builds one: compiled for the MSVC target
 * and linked by a Microsoft-style linker against kydoru.lib, with no C runtime (so no
 * MinGW piece can stand in for what the .lib must supply). On 32-bit Windows the object
 * asks for the decorated cdecl names (__imp__kyGetCurrentVideoMode); the .lib must bind
 * them to the undecorated exports of kydoru.dll. */
#include "kydoru.h"

static void put(const char *text)
{
    DWORD written = 0;
    DWORD length = 0;
    while (text[length])
        length++;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, NULL);
}

static void putNumber(int value)
{
    char digits[12];
    int at = sizeof digits - 1;
    unsigned int rest = value < 0 ? 0u - (unsigned int)value : (unsigned int)value;
    digits[at] = 0;
    do {
        digits[--at] = (char)('0' + rest % 10);
        rest /= 10;
    } while (rest && at > 1);
    if (value < 0)
        digits[--at] = '-';
    put(digits + at);
}

/* The entry point: there is no C runtime to call main. */
void __cdecl start(void)
{
    int bits = 0, width = 0, height = 0, refresh = 0;
    char path[MAX_PATH];
    int found = kyGetCurrentVideoMode(&bits, &width, &height, &refresh);
    put("mode ");
    putNumber(found);
    put(": screen ");
    putNumber(width);
    put(" x ");
    putNumber(height);
    put(", ");
    putNumber(bits);
    put(" bits per pixel\n");

    kyGetWSPath(path);
    put("system folder: ");
    put(path);
    put("\n");
    ExitProcess(0);
}
