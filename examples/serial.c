/* Sends "AT" to a modem on a serial port and prints its answer, byte by byte, until the
 * line stays quiet for half a second:
 *   x86_64-w64-mingw32-gcc serial.c -Idist/include -Ldist/win64 -lkydoru -o serial.exe
 *   serial.exe COM3 */
#include <stdio.h>
#include <windows.h>

#include "kydoru.h"

int main(int argc, char **argv)
{
    const char *portName = argc > 1 ? argv[1] : "COM1";
    if (!ky_ComOpen(portName)) {
        printf("%s: can't open it (error %lu)\n", portName, GetLastError());
        return 1;
    }
    /* 9600 baud, 8 data bits, no parity check, no parity, one stop bit. */
    if (!ky_ComConf(9600, 8, 0, NOPARITY, ONESTOPBIT))
        printf("%s: 9600 8N1 refused, keeping the port's settings\n", portName);
    /* A read gives up 500 ms after it starts; a write after 10 + 100 ms. */
    ky_SetComTimeouts(0, 0, 500, 10, 100);
    kyCommIBClear(); /* forget whatever arrived before */

    const char *command = "AT\r";
    for (const char *p = command; *p; ++p) {
        if (!ky_WriteByte((const unsigned char *)p)) {
            printf("%s: write failed\n", portName);
            ky_ClosePort();
            return 1;
        }
    }
    unsigned char byte;
    while (ky_ReadByte(&byte)) /* blocks up to 500 ms for each byte */
        putchar(byte == '\r' ? '\n' : byte);
    printf("\n%s: quiet now\n", portName);
    ky_ClosePort();
    return 0;
}
