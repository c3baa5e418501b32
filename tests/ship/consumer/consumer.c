/* Prints the version CMake found, the header's version and the screen mode through an
 * export bound by the import library. */
#include <stdio.h>

#include "kydoru.h"

int main(void)
{
    int bits = 0, width = 0, height = 0, refresh = 0;
    int found = kyGetCurrentVideoMode(&bits, &width, &height, &refresh);
    printf("package %s, header %s, %d-bit: mode %d, screen %d x %d, %d bits per pixel\n", FOUND_VERSION,
           KYDORU_VERSION_STRING, (int)(8 * sizeof(void *)), found, width, height, bits);
    return found ? 0 : 1;
}
