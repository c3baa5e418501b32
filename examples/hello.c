/* A C program that uses kydoru through its header and import library:
 *   x86_64-w64-mingw32-gcc hello.c -Idist/include -Ldist/win64 -lkydoru -o hello.exe
 * (i686-w64-mingw32-gcc and dist/win32 for the 32-bit DLL). Run it beside kydoru.dll. */
#include <stdio.h>

#include "kydoru.h"

int main(void)
{
    int bits = 0, width = 0, height = 0, refresh = 0;
    if (!kyGetCurrentVideoMode(&bits, &width, &height, &refresh)) {
        printf("no screen\n");
        return 1;
    }
    printf("screen %d x %d, %d bits per pixel, %d Hz\n", width, height, bits, refresh);
    /* Mode codes: 0 means the mode would be accepted. */
    printf("1024 x 768 x 32 %s\n", kyCanChangeVideoMode() == 0 ? "is available" : "is not available");
    return 0;
}
